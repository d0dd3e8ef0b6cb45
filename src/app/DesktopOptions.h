#pragma once

#include <QString>
#include <QStringList>

// The desktop program's command line:
//   qx410 [--trace FILE] [--settings DIR]
// --trace writes every byte exchanged with the controller to FILE, one line
// each, as the Serial Traffic window shows them. --settings names the
// folder of Qx410.ini and Qx410.ports (default: the current folder); it
// must be an existing folder.
struct DesktopOptions
{
    QString trace;
    QString settings; // empty: the current folder
    QString error; // a usage error to print; empty when the line was fine

    static DesktopOptions parse(const QStringList& arguments);
};
