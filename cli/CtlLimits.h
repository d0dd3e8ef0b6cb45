#pragma once

#include "CtlOptions.h"
#include "TravelLimits.h"

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>
#include <optional>

// qx410ctl limits: the travel limits in the limits file of the settings
// folder, shown or changed one axis at a time without a serial port; and
// the limits file read for the commands that move the manipulator when no
// server holds the port.
class CtlLimits
{
public:
    enum ExitStatus { Done = 0, Usage = 1, FileFailure = 2 };

    // One axis changed: "limits AXIS MIN MAX" (MIN or MAX may be "off") or
    // "limits AXIS off".
    struct Change
    {
        int axis = 0;
        TravelLimits::Range range;
    };
    // Nothing, with *why set, when the words are not a change.
    static std::optional<Change> parseChange(const QStringList& args, QString* why);

    // The settings folder (--settings DIR, else the current folder), which
    // holds the limits file.
    static QString folder(const CtlOptions& options);
    // The limits file read for a command that moves the manipulator. False
    // when it is there but cannot be read: that is said on err, and the
    // command must not go on without the limits the operator set.
    static bool loadForMoves(const CtlOptions& options, TravelLimits* limits, QTextStream& err);

    // "X LOWER UPPER" per axis ("off" where there is none), or with json one
    // object: {"x":{"lower":-100,"upper":null},...}.
    static void print(const TravelLimits& limits, bool json, QTextStream& out);

    CtlLimits(QTextStream& out, QTextStream& err);
    // limits with the file itself: shows them, or changes one axis and
    // shows the limits then in force.
    int run(const CtlOptions& options);

private:
    QTextStream& m_out;
    QTextStream& m_err;
};
