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
    bool json = false; // one JSON object per line of output
    QString trace;     // file for the serial traffic; empty: none
    QString command;
    QStringList args;

    Outcome outcome = Outcome::Run;
    QString error; // for UsageError

    static CtlOptions parse(const QStringList& arguments);
    static QString usage();
};
