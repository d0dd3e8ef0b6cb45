#pragma once

#include <csignal>

// While it exists, the first SIGINT or SIGTERM does not end the process: it
// is noted, so that a run can halt the controller, restore the velocity and
// then end. A second one of the same kind ends the process at once. A
// blocking read of the terminal is interrupted by them (no restart). The
// former handlers come back when it goes.
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
