#pragma once

#include "Clock.h"

// A clock that only moves when told to: sleeping advances it at once.
class VirtualClock : public Clock
{
public:
    explicit VirtualClock(qint64 startMs = 1'700'000'000'000) : m_now(startMs) {}

    qint64 nowMs() const override { return m_now; }
    void sleepMs(int ms) override
    {
        if (ms > 0)
            m_now += ms;
        m_slept += ms;
    }
    void advanceTo(qint64 ms)
    {
        if (ms > m_now)
            m_now = ms;
    }
    // Total sleeping asked for, to check the settle pauses.
    qint64 slept() const { return m_slept; }

private:
    qint64 m_now;
    qint64 m_slept = 0;
};
