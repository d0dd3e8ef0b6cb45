#pragma once

#include "CtlOptions.h"
#include "LinkStatus.h"
#include "StepValues.h"
#include "TravelLimits.h"

#include <QTextStream>
#include <vector>

class Clock;
class PortDevice;
class Prompts;
class SerialLink;

// The qx410ctl commands for programs stored in the controller: download,
// execute, continue, upload and programs, on the same exchanges as the
// desktop program's dialogs.
class CtlPrograms
{
public:
    // Exit status of execute when SIGINT or SIGTERM halted the run.
    static constexpr int haltedBySignal = 130;

    static bool handles(const QString& command);

    CtlPrograms(Clock& clock, Prompts& prompts, QTextStream& out, QTextStream& err);

    // The limits a downloaded file is checked against and a relative run is
    // asked about.
    void setTravelLimits(const TravelLimits& limits) { m_limits = limits; }
    // Checks the arguments and loads the download file before the port is
    // touched: -1 to go on, otherwise the exit status.
    int prepare(const CtlOptions& options);
    // Carries out the command on the open port. When it returns Ok,
    // exitStatus() tells how the command ended.
    LinkStatus run(const CtlOptions& options, SerialLink& link, PortDevice& port);
    int exitStatus() const { return m_exitStatus; }

    // Where execute takes Enter presses from (each lets a program waiting at
    // a pause step go on): standard input when it is a terminal; -1 for none.
    void setEnterInput(int fd) { m_enterInput = fd; }

    // execute --relative while travel limits are set: asked on a terminal
    // (standard input), refused elsewhere unless --yes. False when the run
    // must not start; the reason has been said.
    static bool relativeRunAllowed(const CtlOptions& options, const TravelLimits& limits, int program,
                                   bool terminal, QTextStream& err);

private:
    LinkStatus execute(const CtlOptions& options, SerialLink& link, PortDevice& port);

    Clock& m_clock;
    Prompts& m_prompts;
    QTextStream& m_out;
    QTextStream& m_err;
    int m_program = 0;
    TravelLimits m_limits;
    std::vector<StepValues> m_steps;
    int m_exitStatus = 0;
    int m_enterInput;
};
