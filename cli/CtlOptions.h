#pragma once

#include <QString>
#include <QStringList>

// What the qx410ctl command line asks for, parsed and checked.
struct CtlOptions
{
    enum class Outcome { Run, Help, Version, UsageError };

    QString port = QStringLiteral("COM1");
    int baud = 9600;
    int moveTimeoutMs = 600 * 1000;
    bool high = false;
    QString command;
    QStringList args;

    Outcome outcome = Outcome::Run;
    QString error; // for UsageError

    static CtlOptions parse(const QStringList& arguments);
    static QString usage();
    static QString version(); // "qx410ctl VERSION"
};
