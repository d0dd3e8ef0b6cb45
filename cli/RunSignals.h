#pragma once

#include <csignal>

// While it exists, SIGINT and SIGTERM do not end the process: they are noted,
// so that a run can halt the controller, restore the velocity and then end.
// A blocking read of the terminal is interrupted by them (no restart). The
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

private:
    struct sigaction m_oldInt;
    struct sigaction m_oldTerm;
};
