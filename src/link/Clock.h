#pragma once

#include <QtGlobal>

// Time as the link sees it: the wall clock in milliseconds and a sleep.
// Production uses SystemClock; tests use a virtual clock so that a 100 ms
// settle or the reply watch costs no wall time.
class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds since the epoch; the reply watch counts whole seconds of it.
    virtual qint64 nowMs() const = 0;
    virtual void sleepMs(int ms) = 0;
};
