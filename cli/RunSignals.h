#pragma once

#include <csignal>

// While it exists, SIGINT and SIGTERM do not end the process: they are
// noted, so that a run can halt the controller, restore the velocity and
// then end. A repeated signal does not end it either: the halt must not stop
// between its bytes and leave the controller at velocity word 1 or in the
// middle of the sequence. It is noted too (and said on standard error); the
// run's steps that remain are all bounded in time. A blocking read of the
// terminal is interrupted by them (no restart). The former handlers come
// back when it goes.
class RunSignals
{
public:
    RunSignals();
    ~RunSignals();
    RunSignals(const RunSignals&) = delete;
    RunSignals& operator=(const RunSignals&) = delete;

    // True once either signal has arrived.
    static bool raised();

    // How long a wait sleeps on the port before it looks at raised() again
    // (a signal also cuts the sleep short).
    static constexpr int pollMs = 50;

private:
    struct sigaction m_oldInt;
    struct sigaction m_oldTerm;
};
