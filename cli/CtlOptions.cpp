#include "CtlOptions.h"

#include "LineSettings.h"
#include "Qx410Version.h"
#include "SettingsFolder.h"
#include "VelocitySetup.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cmath>

namespace {
struct CommandShape
{
    const char* name;
    int argCount;
};
const CommandShape kCommands[] = {
    {"position", 0}, {"move", 3}, {"velocity", 1}, {"stop", 0},
    {"reset", 0},    {"origin", 0}, {"refresh", 0}, {"status", 0},
    {"check", 1},    {"ports", 0},    {"run", 1},
    {"download", 2}, {"execute", 1}, {"continue", 0}, {"upload", 2}, {"programs", 0},
    {"serve", 0},    {"limits", -1},
};
// The options' names that take a value in the next word (unless given as
// --name=value).
QStringList namesTakingValues(const QList<QCommandLineOption>& options)
{
    QStringList names;
    for (const QCommandLineOption& option : options) {
        if (!option.valueName().isEmpty())
            names += option.names();
    }
    return names;
}

// A velocity entry checked by the Velocity dialog's rules: the message the
// dialog would show, or nothing when the entry is accepted.
QString velocityRefusal(const QString& entry, bool high)
{
    const std::optional<int> velocity = VelocitySetup::parseEntry(entry);
    if (!velocity)
        return VelocitySetup::rangeText;
    if (high && *velocity > VelocitySetup::highResolutionLimit)
        return VelocitySetup::highResolutionText;
    return QString();
}
} // namespace

bool CtlOptions::isNumber(const QString& word)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?$"));
    return number.match(word).hasMatch();
}

QStringList CtlOptions::numbersAsPositional(const QStringList& arguments, const QStringList& valueOptions)
{
    if (arguments.isEmpty())
        return arguments;
    QStringList options{arguments.first()};
    QStringList positional;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == QLatin1String("--")) {
            positional += arguments.mid(i + 1);
            break;
        }
        if (!word.startsWith(QLatin1Char('-')) || word == QLatin1String("-") || isNumber(word)) {
            positional += word;
            continue;
        }
        options += word;
        // An option's value stays with it, whatever it looks like.
        const QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
        if (!name.contains(QLatin1Char('=')) && valueOptions.contains(name) && i + 1 < arguments.size())
            options += arguments[++i];
    }
    return options + QStringList{QStringLiteral("--")} + positional;
}

QString CtlOptions::usage()
{
    return QStringLiteral(
        "Usage: qx410ctl [--port NAME-OR-DEVICE] [--baud 2400|4800|9600|19200] [--timeout SECONDS]\n"
        "                [--json] [--trace FILE] [--settings DIR] COMMAND [ARGS]\n"
        "\n"
        "Drives a QX-410 micromanipulator controller on a serial line.\n"
        "\n"
        "Options:\n"
        "  --port NAME-OR-DEVICE  COM1..COM4 (mapped to $QX410_COM1..4, else to the device\n"
        "                         Qx410.ports binds them to, else /dev/ttyS0..3)\n"
        "                         or a device path such as /dev/ttyUSB0. Default COM1.\n"
        "  --baud RATE            2400, 4800, 9600 or 19200. Default 9600.\n"
        "  --timeout SECONDS      how long 'move' waits for the controller to report the\n"
        "                         end of the move; then it stops the move. Default 600.\n"
        "  --json                 print position, status, ports and programs as one JSON\n"
        "                         object per line, e.g. {\"x\":1000,\"y\":-1,\"z\":0} (at high\n"
        "                         resolution with fractions: {\"x\":1000.52,...}). Errors\n"
        "                         stay on standard error.\n"
        "  --trace FILE           write every byte exchanged with the controller to FILE:\n"
        "                         time, direction, bytes in hex, command name.\n"
        "  --velocity V           the velocity setting (um/s, 0..6550) that stands for the\n"
        "                         desktop program's. Default 1000.\n"
        "  --settings DIR         the folder that holds Qx410.ports and Qx410.limits (as\n"
        "                         qx410 --settings DIR). Default: the current folder.\n"
        "  --high                 with velocity, download, execute and serve: high\n"
        "                         resolution. With position and move: print the\n"
        "                         position to the hundredth of a micrometre.\n"
        "  --relative             with move: move by X Y Z from the present position;\n"
        "                         with execute: run the program in relative mode.\n"
        "  --yes                  with execute --relative: run it even though travel limits\n"
        "                         are set, without asking (the controller does not know\n"
        "                         the limits, and relative moves cannot be checked).\n"
        "  --no-server            open the port itself even when a local server (the\n"
        "                         desktop program, qx410ctl serve) holds it. Without it,\n"
        "                         position, move, velocity, stop, refresh, status,\n"
        "                         continue, programs, download, upload, run, execute\n"
        "                         and limits go through that server.\n"
        "  --help                 this text.\n"
        "  --version              print the version.\n"
        "\n"
        "Commands (positions in micrometres):\n"
        "  position [--high]      print the position as 'X Y Z' in whole micrometres or,\n"
        "                         at high resolution (--high, or a server's resolution\n"
        "                         is high), with two decimals: '12.48 -3.00 100.04'.\n"
        "  move X Y Z [--relative] [--high]\n"
        "                         move there (with --relative: by X Y Z from the present\n"
        "                         position), wait until done, print the reached position\n"
        "                         as position does. X Y Z may have fractions; they go to\n"
        "                         the controller's step of 0.04 um, halves away from\n"
        "                         zero. Negative numbers are numbers, never options:\n"
        "                         move -100 0 50.5\n"
        "                         A target outside the travel limits is not sent\n"
        "                         (status 1).\n"
        "  velocity V [--high]    set the velocity in um/s (0..6550), at low resolution or,\n"
        "                         with --high, at high resolution (V at most 1310), as\n"
        "                         Setup > Velocity does.\n"
        "  stop                   interrupt a move or a program run.\n"
        "  reset                  reset the controller.\n"
        "  origin                 make the present position the origin.\n"
        "  refresh                refresh the controller's display.\n"
        "  status                 print the 19 numbers of the status block, comma-separated.\n"
        "  run FILE [--velocity V] [--loop COUNT] [--pause ask|continue|halt]\n"
        "                         run the command file FILE from the host, line by line:\n"
        "                         moves, speed lines and pauses; one progress line per\n"
        "                         line on standard error ('line N/M: Move 10 -20 3'), the\n"
        "                         final position on standard output. At the end the\n"
        "                         velocity V (0..6550, default 1000) is set again at low\n"
        "                         resolution. --loop runs the file COUNT times (0: until\n"
        "                         interrupted; default 1). --pause says what a Pause line\n"
        "                         gets: ask (the question on the terminal, y or n),\n"
        "                         continue, or halt; default ask when standard input is a\n"
        "                         terminal, else halt. SIGINT or SIGTERM halts the\n"
        "                         controller, sets the velocity V again and exits with 130\n"
        "                         (even when repeated). A Move line beyond the\n"
        "                         controller's range or the travel limits is not sent\n"
        "                         and halts the run. Exit status 2 also when FILE cannot\n"
        "                         be read, 4 when the run was halted (No at a Pause, a\n"
        "                         move beyond the range or the limits),\n"
        "                         130 when interrupted.\n"
        "  check FILE             print, for every line of the command file FILE, what a run\n"
        "                         would do with it, one line each: 'Move X Y Z' (microsteps),\n"
        "                         'High WORD' or 'Low WORD' (the 16-bit velocity word in\n"
        "                         decimal), 'Pause' or 'Other'. Needs no serial port.\n"
        "  ports                  list COM1..COM4 with the device each maps to and why\n"
        "                         (variable, file or default), then the serial devices the\n"
        "                         system has. Needs no serial port.\n"
        "  download FILE N        store the command file FILE as program N (1..10), starting\n"
        "                         at the velocity setting; print its number of steps. A\n"
        "                         file with a Move outside the travel limits is refused.\n"
        "  execute N              run program N and wait for its end: Enter on a terminal\n"
        "                         lets it go on past a pause step, Ctrl+C halts it. Then\n"
        "                         set the velocity setting again and print the position\n"
        "                         reached. A program without steps is not run (status 1).\n"
        "  execute N --relative [--yes]\n"
        "                         the same in relative mode. While travel limits are\n"
        "                         set it asks first on a terminal and is refused\n"
        "                         elsewhere (status 1) unless --yes is given.\n"
        "  continue               let a program that waits at a pause step go on.\n"
        "  upload N FILE          read program N into the command file FILE; print its\n"
        "                         number of steps.\n"
        "  programs               print 'N STEPS' for each of the ten programs.\n"
        "  limits                 print the travel limits, one axis a line: 'X MIN MAX'\n"
        "                         in micrometres, 'off' where there is none. Needs no\n"
        "                         serial port: the file Qx410.limits beside Qx410.ini, or\n"
        "                         the server that holds the port.\n"
        "  limits AXIS MIN MAX    set the limits of axis X, Y or Z (micrometres with\n"
        "                         fractions, to 0.04 um; MIN at most MAX; either may be\n"
        "                         off), then print the limits: limits Z -5000 off\n"
        "  limits AXIS off        clear the limits of the axis.\n"
        "                         Targets outside the limits are refused by move, run,\n"
        "                         download and the server; execute --relative asks first\n"
        "                         (on a terminal; otherwise it needs --yes). A limits file\n"
        "                         that cannot be read stops those commands (status 2).\n"
        "  serve [--velocity V] [--high]\n"
        "                         hold the port and serve it to local clients (JSON-RPC,\n"
        "                         one message a line; see docs/protocol.md) until SIGINT\n"
        "                         or SIGTERM; print the socket's path when ready (--json:\n"
        "                         {\"socket\": \"PATH\"}). Status 2 when another server\n"
        "                         holds the device.\n"
        "\n"
        "Exit status: 0 done; 1 usage error, or a target outside the travel limits; 2 the\n"
        "port cannot be opened or configured, or the limits file cannot be read\n"
        "(check: the file cannot be opened or read; --trace: the trace file cannot be\n"
        "written); 3 the controller did not answer in time (or the port failed).\n"
        "download: 2 when FILE cannot be read, 1 when it holds no step to store or leaves\n"
        "the travel limits;\n"
        "upload: 2 when FILE cannot be written; execute: 130 when a signal halted the run.\n");
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
    // run's own options.
    const QCommandLineOption loopOption(QStringLiteral("loop"), QString(), QStringLiteral("count"));
    const QCommandLineOption pauseOption(QStringLiteral("pause"), QString(), QStringLiteral("answer"));
    parser.addOptions({loopOption, pauseOption});
    const QCommandLineOption portOption(QStringLiteral("port"), QString(), QStringLiteral("name"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QString(), QStringLiteral("rate"));
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"), QString(), QStringLiteral("seconds"));
    const QCommandLineOption highOption(QStringLiteral("high"));
    const QCommandLineOption velocityOption(QStringLiteral("velocity"), QString(), QStringLiteral("V"));
    const QCommandLineOption relativeOption(QStringLiteral("relative"));
    const QCommandLineOption yesOption(QStringLiteral("yes"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption versionOption(QStringLiteral("version"));
    const QCommandLineOption jsonOption(QStringLiteral("json"));
    const QCommandLineOption noServerOption(QStringLiteral("no-server"));
    const QCommandLineOption traceOption(QStringLiteral("trace"), QString(), QStringLiteral("file"));
    const QCommandLineOption settingsOption(QStringLiteral("settings"), QString(), QStringLiteral("dir"));
    parser.addOptions({portOption, baudOption, timeoutOption, highOption, helpOption, jsonOption, traceOption, versionOption});
    parser.addOptions({velocityOption, relativeOption, noServerOption, settingsOption, yesOption});
    const QStringList valueOptions = namesTakingValues({loopOption, pauseOption, portOption, baudOption,
                                                        timeoutOption, velocityOption, traceOption, settingsOption});

    auto fail = [&o](const QString& why) {
        o.outcome = Outcome::UsageError;
        o.error = why;
        return o;
    };

    if (!parser.parse(numbersAsPositional(arguments, valueOptions)))
        return fail(parser.errorText());
    if (parser.isSet(helpOption)) {
        o.outcome = Outcome::Help;
        return o;
    }
    if (parser.isSet(versionOption)) {
        o.outcome = Outcome::Version;
        return o;
    }
    if (parser.isSet(loopOption)) {
        bool ok = false;
        o.loops = parser.value(loopOption).toInt(&ok);
        if (!ok || o.loops < 0)
            return fail(QStringLiteral("--loop takes a count (0: until interrupted), not '%1'")
                            .arg(parser.value(loopOption)));
    }
    if (parser.isSet(pauseOption)) {
        o.pause = parser.value(pauseOption);
        if (o.pause != QLatin1String("ask") && o.pause != QLatin1String("continue")
            && o.pause != QLatin1String("halt"))
            return fail(QStringLiteral("--pause takes ask, continue or halt, not '%1'").arg(o.pause));
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
        // At least 1 ms: nan, inf and values that would round to no time at all are refused.
        if (!ok || !std::isfinite(seconds) || seconds < 0.001 || seconds > 24 * 3600)
            return fail(QStringLiteral("--timeout takes a number of seconds from 0.001 to 86400, not '%1'")
                            .arg(parser.value(timeoutOption)));
        o.moveTimeoutMs = static_cast<int>(std::lround(seconds * 1000));
    }
    o.high = parser.isSet(highOption);
    o.json = parser.isSet(jsonOption);
    o.noServer = parser.isSet(noServerOption);
    if (parser.isSet(traceOption)) {
        o.trace = parser.value(traceOption);
        if (o.trace.isEmpty())
            return fail(QStringLiteral("--trace needs a file name"));
    }
    if (parser.isSet(settingsOption)) {
        o.settings = parser.value(settingsOption);
        const QString refusal = SettingsFolder::refusal(o.settings);
        if (!refusal.isEmpty())
            return fail(refusal);
    }
    o.relative = parser.isSet(relativeOption);
    o.yes = parser.isSet(yesOption);
    if (parser.isSet(velocityOption)) {
        // The velocity setting follows the Velocity dialog's rules.
        const QString refusal = velocityRefusal(parser.value(velocityOption), o.high);
        if (!refusal.isEmpty())
            return fail(QStringLiteral("--velocity %1: %2").arg(parser.value(velocityOption), refusal));
        o.velocitySetting = *VelocitySetup::parseEntry(parser.value(velocityOption));
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return fail(QStringLiteral("no command given"));
    o.command = positional.takeFirst();
    o.args = positional;

    for (const CommandShape& shape : kCommands) {
        if (o.command != QLatin1String(shape.name))
            continue;
        if (shape.argCount < 0) {
            // limits: show them, AXIS off, or AXIS MIN MAX.
            if (o.args.size() != 0 && o.args.size() != 2 && o.args.size() != 3)
                return fail(QStringLiteral("limits takes no argument, AXIS off, or AXIS MIN MAX"));
        } else if (o.args.size() != shape.argCount) {
            return fail(QStringLiteral("%1 takes %2 argument(s)").arg(o.command).arg(shape.argCount));
        }
        const bool serve = o.command == QLatin1String("serve");
        const bool velocitySettingCommand = serve || o.command == QLatin1String("run")
                                            || o.command == QLatin1String("download")
                                            || o.command == QLatin1String("execute");
        const bool positionCommand = o.command == QLatin1String("position") || o.command == QLatin1String("move");
        if (o.high && o.command != QLatin1String("velocity") && o.command != QLatin1String("download")
            && o.command != QLatin1String("execute") && !serve && !positionCommand)
            return fail(QStringLiteral("--high goes with position, move, velocity, download, execute and serve only"));
        if (o.relative && o.command != QLatin1String("execute") && o.command != QLatin1String("move"))
            return fail(QStringLiteral("--relative goes with move and execute only"));
        if (o.yes && !(o.relative && o.command == QLatin1String("execute")))
            return fail(QStringLiteral("--yes goes with execute --relative only"));
        if (parser.isSet(velocityOption) && !velocitySettingCommand)
            return fail(QStringLiteral("--velocity goes with run, download, execute and serve only"));
        if ((parser.isSet(loopOption) || parser.isSet(pauseOption)) && o.command != QLatin1String("run"))
            return fail(QStringLiteral("--loop and --pause go with run only"));
        if (o.command == QLatin1String("velocity")) {
            const QString refusal = velocityRefusal(o.args[0], o.high);
            if (!refusal.isEmpty())
                return fail(QStringLiteral("velocity %1: %2").arg(o.args[0], refusal));
        }
        return o;
    }
    return fail(QStringLiteral("unknown command '%1'").arg(o.command));
}
