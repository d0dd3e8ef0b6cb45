#pragma once

#include "Clock.h"

// The real clock: system time and a real sleep.
class SystemClock : public Clock
{
public:
    qint64 nowMs() const override;
    void sleepMs(int ms) override;
};
