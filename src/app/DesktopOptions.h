#pragma once

#include <QString>
#include <QStringList>

// The desktop program's command line:
//   qx410 [--trace FILE]
// --trace writes every byte exchanged with the controller to FILE, one line
// each, as the Serial Traffic window shows them.
struct DesktopOptions
{
    QString trace;
    QString error; // a usage error to print; empty when the line was fine

    static DesktopOptions parse(const QStringList& arguments);
};
