#include "CtlOptions.h"

#include "LineSettings.h"
#include "Qx410Version.h"

#include <QCommandLineParser>

namespace {
struct CommandShape
{
    const char* name;
    int argCount;
};
const CommandShape kCommands[] = {
    {"position", 0}, {"move", 3}, {"velocity", 1}, {"stop", 0},
    {"reset", 0},    {"origin", 0}, {"refresh", 0}, {"status", 0},
    {"check", 1},
};
} // namespace

QString CtlOptions::usage()
{
    return QStringLiteral(
        "Usage: qx410ctl [--port NAME-OR-DEVICE] [--baud 2400|4800|9600|19200] [--timeout SECONDS] COMMAND [ARGS]\n"
        "\n"
        "Drives a QX-410 micromanipulator controller on a serial line.\n"
        "\n"
        "Options:\n"
        "  --port NAME-OR-DEVICE  COM1..COM4 (mapped to $QX410_COM1..4, else /dev/ttyS0..3)\n"
        "                         or a device path such as /dev/ttyUSB0. Default COM1.\n"
        "  --baud RATE            2400, 4800, 9600 or 19200. Default 9600.\n"
        "  --timeout SECONDS      how long 'move' waits for the controller to report the\n"
        "                         end of the move; then it stops the move. Default 600.\n"
        "  --help                 this text.\n"
        "  --version              print the version.\n"
        "\n"
        "Commands (positions in whole micrometres):\n"
        "  position               print the position as 'X Y Z'.\n"
        "  move X Y Z             move there, wait until done, print the reached position.\n"
        "                         Put '--' before negative numbers: move -- -100 0 50\n"
        "  velocity V [--high]    set the velocity in um/s (0..32767), at low resolution or,\n"
        "                         with --high, at high resolution (V at most 1310).\n"
        "  stop                   interrupt a move or a program run.\n"
        "  reset                  reset the controller.\n"
        "  origin                 make the present position the origin.\n"
        "  refresh                refresh the controller's display.\n"
        "  status                 print the 19 numbers of the status block, comma-separated.\n"
        "  check FILE             print, for every line of the command file FILE, what a run\n"
        "                         would do with it, one line each: 'Move X Y Z' (microsteps),\n"
        "                         'High WORD' or 'Low WORD' (the 16-bit velocity word in\n"
        "                         decimal), 'Pause' or 'Other'. Needs no serial port.\n"
        "\n"
        "Exit status: 0 done; 1 usage error; 2 the port cannot be opened or configured\n"
        "(check: the file cannot be opened); 3 the controller did not answer in time\n"
        "(or the port failed).\n");
}

QString CtlOptions::version()
{
    return QStringLiteral("qx410ctl " QX410_VERSION);
}

CtlOptions CtlOptions::parse(const QStringList& arguments)
{
    CtlOptions o;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption portOption(QStringLiteral("port"), QString(), QStringLiteral("name"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QString(), QStringLiteral("rate"));
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"), QString(), QStringLiteral("seconds"));
    const QCommandLineOption highOption(QStringLiteral("high"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption versionOption(QStringLiteral("version"));
    parser.addOptions({portOption, baudOption, timeoutOption, highOption, helpOption, versionOption});

    auto fail = [&o](const QString& why) {
        o.outcome = Outcome::UsageError;
        o.error = why;
        return o;
    };

    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(helpOption)) {
        o.outcome = Outcome::Help;
        return o;
    }
    if (parser.isSet(versionOption)) {
        o.outcome = Outcome::Version;
        return o;
    }
    if (parser.isSet(portOption)) {
        o.port = parser.value(portOption);
        if (o.port.isEmpty())
            return fail(QStringLiteral("--port needs a port name or a device"));
    }
    if (parser.isSet(baudOption)) {
        bool ok = false;
        o.baud = parser.value(baudOption).toInt(&ok);
        if (!ok || !LineSettings::isSupportedBaud(o.baud))
            return fail(QStringLiteral("--baud takes 2400, 4800, 9600 or 19200, not '%1'").arg(parser.value(baudOption)));
    }
    if (parser.isSet(timeoutOption)) {
        bool ok = false;
        const double seconds = parser.value(timeoutOption).toDouble(&ok);
        if (!ok || seconds <= 0 || seconds > 24 * 3600)
            return fail(QStringLiteral("--timeout takes a number of seconds, not '%1'").arg(parser.value(timeoutOption)));
        o.moveTimeoutMs = static_cast<int>(seconds * 1000);
    }
    o.high = parser.isSet(highOption);

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return fail(QStringLiteral("no command given"));
    o.command = positional.takeFirst();
    o.args = positional;

    for (const CommandShape& shape : kCommands) {
        if (o.command != QLatin1String(shape.name))
            continue;
        if (o.args.size() != shape.argCount)
            return fail(QStringLiteral("%1 takes %2 argument(s)").arg(o.command).arg(shape.argCount));
        if (o.high && o.command != QLatin1String("velocity"))
            return fail(QStringLiteral("--high goes with velocity only"));
        return o;
    }
    return fail(QStringLiteral("unknown command '%1'").arg(o.command));
}
