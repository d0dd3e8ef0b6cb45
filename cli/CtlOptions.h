#pragma once

#include <QString>
#include <QStringList>

// What the qx410ctl command line asks for, parsed and checked.
struct CtlOptions
{
    enum class Outcome { Run, Help, UsageError };

    QString port = QStringLiteral("COM1");
    int baud = 9600;
    int moveTimeoutMs = 600 * 1000;
    bool high = false;
    // The velocity setting that the controller-program commands use in place
    // of the main window's (download: the start velocity; execute: the
    // velocity restored after the run).
    int programVelocity = 1000;
    bool relative = false;
    QString command;
    QStringList args;

    Outcome outcome = Outcome::Run;
    QString error; // for UsageError

    static CtlOptions parse(const QStringList& arguments);
    static QString usage();
};
