#pragma once

#include <QJsonObject>
#include <QString>
#include <QTextStream>

struct HostCommand;
class TravelLimits;

// qx410ctl check: what running a command file would do with each of its
// lines, without a controller. The file is read as a run reads it, one line
// at a time, so a file of any size is checked in the memory of one line.
class CommandFileCheck
{
public:
    // Exit statuses of check.
    enum Status {
        Runnable = 0,   // every line is as a run would carry it out
        Refused = 1,    // a run would stop at a refused line
        CannotLoad = 2, // the file cannot be opened, or a read failed part way
    };

    // Why a run would refuse the line (as in "Line N REASON. It was not
    // sent ..."): the parser's reason, or a Move outside the travel limits;
    // empty when a run would carry it out.
    static QString refusal(const HostCommand& command, const TravelLimits& limits);
    // "Move X Y Z" with the microsteps a run sends, "High WORD" or "Low WORD"
    // with the 16-bit velocity word in decimal, "Pause" or "Other"; for a
    // refused line "Refused: Line N " and the reason a run gives.
    static QString describe(int lineNumber, const HostCommand& command, const QString& refused);
    // The same as one JSON object: {"line":N,"kind":"Move","microsteps":
    // {"x":X,"y":Y,"z":Z}}, {"line":N,"kind":"High","velocityWord":W},
    // {"line":N,"kind":"Pause"}; a refused line has "refused" with the reason
    // instead of its values.
    static QJsonObject object(int lineNumber, const HostCommand& command, const QString& refused);

    // What the reading of a line may surprise in, worded to follow "line N ";
    // empty when nothing: a CR not followed by LF (lines ending in CR alone),
    // a last line without LF.
    static QString warning(const std::string& line);

    // Describes every line of the file on out, one line each (one JSON object
    // each with json), and warns: on err as "qx410ctl: warning: line N ...",
    // or with json as {"line":N,"warning":"..."} on out. A file that cannot
    // be opened or read gives "qx410ctl: Can not load file, please check what
    // is wrong! (FILE)" on err; what was printed before a failed read stays.
    // Move lines are checked against the travel limits as a run checks them.
    static Status check(
        const QString& file, bool json, const TravelLimits& limits, QTextStream& out, QTextStream& err);
};
