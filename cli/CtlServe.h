#pragma once

#include "CtlOptions.h"
#include "TravelLimits.h"

#include <QTextStream>

class Clock;
class SerialLink;

// qx410ctl serve: holds the port and serves it on the local socket until
// SIGINT or SIGTERM. Prints the socket's path once it listens (with --json
// as {"socket": "PATH"}). On a signal a move or run under way is stopped
// first; the socket file is removed at the end. The travel limits of the
// limits file are in force from the start; a client's change is saved there.
class CtlServe {
public:
    enum ExitStatus { Done = 0, CannotServe = 2 };

    CtlServe(QTextStream& out, QTextStream& err);

    // Serves through the control layer on this link, as the desktop program
    // does, with the options' velocity, resolution and move time-out, and
    // the travel limits read from the limits file.
    int run(const CtlOptions& options, SerialLink& link, Clock& clock, const TravelLimits& limits);

private:
    QTextStream& m_out;
    QTextStream& m_err;
};
