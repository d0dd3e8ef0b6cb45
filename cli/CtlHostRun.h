#pragma once

#include "CtlOptions.h"
#include "TravelLimits.h"

#include <QTextStream>

class Clock;
struct HostCommand;
class Controller;
class PortDevice;
class SerialLink;

// qx410ctl run FILE: runs a command file from the host as Execute Once does
// (or --loop COUNT times), on the same executor as the desktop program. One
// progress line per line of the file on standard error ("line N/M: Move 10
// -20 3"), the final position on standard output. The controller must
// answer a position query before the first line. SIGINT or SIGTERM halts
// the controller, restores the velocity and ends with status 130; a move
// that runs past --timeout is interrupted and the velocity restored too.
class CtlHostRun
{
public:
    enum ExitStatus { Done = 0, FileFailure = 2, NoAnswer = 3, Halted = 4, Interrupted = 130 };

    CtlHostRun(Clock& clock, QTextStream& out, QTextStream& err);

    // The limits every Move line's target is checked against: a line outside
    // them is not sent and halts the run (status 4).
    void setTravelLimits(const TravelLimits& limits) { m_limits = limits; }

    // Before the port is opened: the file must be readable. Prints the
    // reason and returns false otherwise.
    bool checkFile(const CtlOptions& options);
    // The run on an open link; returns the exit status. linkPort: the device
    // the link reads from, on which a move's wait sleeps between its looks
    // for an interrupt signal.
    int run(const CtlOptions& options, SerialLink& link, Controller& controller, PortDevice& linkPort);

    // "Move 10 -20 3", "High 1000", "Low 200", "Pause", "Other": a line as
    // the run reads it, numbers as in the file.
    static QString describe(const HostCommand& command);

private:
    // Says that the controller did not answer; the exit status.
    int noAnswer(const CtlOptions& options, SerialLink& link);

    Clock& m_clock;
    QTextStream& m_out;
    QTextStream& m_err;
    int m_lineCount = 0;
    TravelLimits m_limits;
};
