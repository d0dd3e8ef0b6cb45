#pragma once

#include "CtlOptions.h"

#include <QTextStream>

class Clock;
class PortDevice;
class Prompts;

// Carries out one qx410ctl command on a port and returns the exit status:
// 0 done, 2 the port cannot be opened or configured (for check: the command
// file cannot be opened or read; 1 when a run would refuse a line of it), 3
// the controller did not answer in time or answered with something no
// controller sends. Usage
// errors are settled before this runs. check never touches the port.
class CtlRunner
{
public:
    enum ExitStatus { Done = 0, Usage = 1, PortFailure = 2, FileFailure = 2, NoAnswer = 3 };

    CtlRunner(PortDevice& port, Clock& clock, Prompts& prompts, QTextStream& out, QTextStream& err);

    int run(const CtlOptions& options);

private:
    PortDevice& m_port;
    Clock& m_clock;
    Prompts& m_prompts;
    QTextStream& m_out;
    QTextStream& m_err;
};
