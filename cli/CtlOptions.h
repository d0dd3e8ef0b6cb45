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
    bool json = false; // one JSON object per line of output
    bool noServer = false; // open the port even when a local server holds it
    QString trace;     // file for the serial traffic; empty: none
    // The velocity setting (um/s) that stands for the main window's: run and
    // execute restore it at the end, download starts the program with it.
    int velocitySetting = 1000;
    // execute: run the program in relative mode; move: move by X Y Z from
    // the present position.
    bool relative = false;
    // execute --relative: run it even though travel limits are set, which
    // the controller does not know.
    bool yes = false;
    // The folder of Qx410.ports and Qx410.limits (--settings DIR); empty: the
    // current folder.
    QString settings;
    QString command;
    QStringList args;
    // run: the number of passes (0: until interrupted) and what a Pause line
    // gets (ask, continue, halt; empty: ask on a terminal, halt otherwise).
    int loops = 1;
    QString pause;

    Outcome outcome = Outcome::Run;
    QString error; // for UsageError

    // Parses the program's arguments (the program's name first). A word that
    // is a number (-30000, -12.5) is always a positional argument, never an
    // option; the value that follows an option taking one stays with it.
    static CtlOptions parse(const QStringList& arguments);
    static bool isNumber(const QString& word);
    // The arguments reordered for QCommandLineParser: the options (with their
    // values) first, then "--" and the positional arguments in their order.
    static QStringList numbersAsPositional(const QStringList& arguments, const QStringList& valueOptions);
    static QString usage();
    static QString version(); // "qx410ctl VERSION"
};
