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
    QString command;
    QStringList args;
    // run: the velocity setting that the end of a run restores, the number
    // of passes (0: until interrupted) and what a Pause line gets (ask,
    // continue, halt; empty: ask on a terminal, halt otherwise).
    int runVelocity = 1000;
    int loops = 1;
    QString pause;

    Outcome outcome = Outcome::Run;
    QString error; // for UsageError

    static CtlOptions parse(const QStringList& arguments);
    static QString usage();
};
