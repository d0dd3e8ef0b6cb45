#pragma once

// The hand-run tools that make the pictures in docs/: they draw offscreen,
// at the scale given on their command line, and save what a widget shows.

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <QWidget>

namespace GrabTool {

// Checks the arguments (OUTPUT.png [SCALE] ...) and sets up offscreen
// drawing at that scale; call before the application object is made.
// False (after printing the usage) when no output file is named.
inline bool prepare(int argc, char** argv, const char* usage)
{
    if (argc < 2) {
        QTextStream(stderr) << "usage: " << usage << "\n";
        return false;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3)
        qputenv("QT_SCALE_FACTOR", argv[2]);
    return true;
}

// Saves the widget as shown; the exit status for the tool.
inline int save(QWidget& widget, const char* path)
{
    const QString out = QString::fromLocal8Bit(path);
    if (widget.grab().save(out))
        return 0;
    QTextStream(stderr) << "cannot write " << out << "\n";
    return 1;
}

} // namespace GrabTool
