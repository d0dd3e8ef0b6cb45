#pragma once

#include <QString>
#include <QTextStream>

struct HostCommand;

// qx410ctl check: what running a command file would do with each of its
// lines, without a controller.
class CommandFileCheck
{
public:
    // "Move X Y Z" with the microsteps a run sends, "High WORD" or "Low WORD"
    // with the 16-bit velocity word in decimal, "Pause" or "Other".
    static QString describe(const HostCommand& command);

    // Writes one description a line of the file to out; false, writing
    // nothing, when the file cannot be opened for reading.
    static bool print(const QString& file, QTextStream& out);
};
