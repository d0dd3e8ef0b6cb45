#include "CtlFixture.h"
#include "CtlOptions.h"
#include "CtlRunner.h"
#include "HostCommand.h"
#include "Printing.h"
#include "ScriptedPrompts.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

struct OptionCase
{
    std::vector<const char*> words;
    CtlOptions::Outcome outcome;
};

void PrintTo(const OptionCase& c, std::ostream* os)
{
    *os << "qx410ctl";
    for (const char* w : c.words)
        *os << ' ' << w;
}

class CtlOptionsTable : public testing::TestWithParam<OptionCase>
{
};

TEST_P(CtlOptionsTable, ParsesOrRefuses)
{
    QStringList list{QStringLiteral("qx410ctl")};
    for (const char* w : GetParam().words)
        list << QString::fromLatin1(w);
    const CtlOptions o = CtlOptions::parse(list);
    EXPECT_EQ(o.outcome, GetParam().outcome) << qPrintable(list.join(' ')) << " " << qPrintable(o.error);
}

using O = CtlOptions::Outcome;
INSTANTIATE_TEST_SUITE_P(
    Arguments, CtlOptionsTable,
    testing::Values(OptionCase{{"position"}, O::Run}, OptionCase{{"--port", "/dev/ttyUSB0", "position"}, O::Run},
                    OptionCase{{"--baud", "19200", "status"}, O::Run}, OptionCase{{"--baud", "14400", "status"}, O::UsageError},
                    OptionCase{{"--baud", "fast", "status"}, O::UsageError},
                    OptionCase{{"move", "--", "-1", "0", "1000"}, O::Run}, OptionCase{{"move", "1", "2"}, O::UsageError},
                    OptionCase{{"velocity", "1000", "--high"}, O::Run}, OptionCase{{"--high", "position"}, O::Run},
                    OptionCase{{"move", "1", "2", "3", "--relative", "--high"}, O::Run},
                    OptionCase{{"position", "--relative"}, O::UsageError},
                    OptionCase{{"limits"}, O::Run}, OptionCase{{"limits", "z", "-5000", "off"}, O::Run},
                    OptionCase{{"limits", "x"}, O::UsageError}, OptionCase{{"limits", "x", "1", "2", "3"}, O::UsageError},
                    OptionCase{{"execute", "1", "--relative", "--yes"}, O::Run},
                    OptionCase{{"execute", "1", "--yes"}, O::UsageError},
                    OptionCase{{"move", "1", "2", "3", "--relative", "--yes"}, O::UsageError},
                    OptionCase{{"--high", "status"}, O::UsageError},
                    OptionCase{{"--settings", "/", "ports"}, O::Run},
                    OptionCase{{"--settings", "/nonexistent-qx410-rig", "ports"}, O::UsageError},
                    OptionCase{{"--settings", "/dev/null", "ports"}, O::UsageError},
                    OptionCase{{"--settings", "", "ports"}, O::UsageError},
                    OptionCase{{"--timeout", "0", "move", "1", "2", "3"}, O::UsageError},
                    OptionCase{{"--timeout", "2.5", "move", "1", "2", "3"}, O::Run},
                    OptionCase{{"--timeout", "nan", "move", "1", "2", "3"}, O::UsageError},
                    OptionCase{{"--timeout", "inf", "move", "1", "2", "3"}, O::UsageError},
                    OptionCase{{"--timeout", "0.0001", "move", "1", "2", "3"}, O::UsageError},
                    OptionCase{{"--timeout", "0.001", "move", "1", "2", "3"}, O::Run},
                    OptionCase{{"jump"}, O::UsageError}, OptionCase{{}, O::UsageError},
                    OptionCase{{"--frobnicate", "position"}, O::UsageError}, OptionCase{{"--help"}, O::Help},
                    OptionCase{{"position", "extra"}, O::UsageError}, OptionCase{{"check", "path.dat"}, O::Run},
                    OptionCase{{"check"}, O::UsageError}, OptionCase{{"check", "a.dat", "b.dat"}, O::UsageError},
                    OptionCase{{"check", "--high", "path.dat"}, O::UsageError},
                    OptionCase{{"--version"}, O::Version}, OptionCase{{"--version", "position"}, O::Version}));

TEST(CtlCommands, MoveWritesTheMoveThenReadsThePositionTwice)
{
    CtlFixture f;
    EXPECT_EQ(f.run({"--port", "/dev/fake", "move", "--", "-1", "0", "1000"}), 0);
    EXPECT_EQ(f.port.written, hex("6DE7FFFFFF00000000A8610000" "0D" "630D" "630D"));
    EXPECT_EQ(f.outText, QStringLiteral("-1 0 1000\n"));
    EXPECT_EQ(f.port.openedDevices, QStringList{QStringLiteral("/dev/fake")});
}

TEST(CtlCommands, PositionRoundsMicrostepsToMicrometres)
{
    CtlFixture f;
    f.port.placeController(Position{25000, -13, 12});
    EXPECT_EQ(f.run({"position"}), 0);
    EXPECT_EQ(f.outText, QStringLiteral("1000 -1 0\n"));
}

TEST(CtlCommands, SettingCommandsWriteTheirBytesAndSettle)
{
    struct Case
    {
        std::initializer_list<const char*> words;
        const char* bytes;
    };
    const Case cases[] = {
        {{"velocity", "1000", "--high"}, "56E8830D"}, {{"velocity", "1024"}, "5600040D"},
        {{"velocity", "1310", "--high"}, "561E850D"}, {{"stop"}, "030D"},
        {{"reset"}, "720D"},                          {{"origin"}, "6F0D"},
        {{"refresh"}, "6E0D"},
    };
    for (const Case& c : cases) {
        CtlFixture f;
        EXPECT_EQ(f.run(c.words), 0) << c.bytes;
        EXPECT_EQ(f.port.written, hex(c.bytes));
        EXPECT_TRUE(f.outText.isEmpty());
    }
}

// A number is a positional argument wherever it stands; an option's value
// stays with its option.
TEST(CtlOptionsNumbers, NumbersAreNeverOptions)
{
    const struct
    {
        QStringList words;
        QStringList args; // empty: a usage error
    } cases[] = {
        {{"move", "20000", "0", "-30000"}, {"20000", "0", "-30000"}},
        {{"move", "-1", "-2.5", "-.5"}, {"-1", "-2.5", "-.5"}},
        {{"--port", "/dev/ttyUSB0", "move", "-1e3", "+4", "-0"}, {"-1e3", "+4", "-0"}},
        {{"move", "--", "-1", "0", "1000"}, {"-1", "0", "1000"}},
        {{"move", "-1", "--timeout", "5", "2", "-3"}, {"-1", "2", "-3"}},
        {{"--timeout", "-5", "move", "1", "2", "3"}, {}},
        {{"move", "-x", "2", "3"}, {}},
    };
    for (const auto& c : cases) {
        const CtlOptions o = CtlOptions::parse(QStringList{QStringLiteral("qx410ctl")} + c.words);
        if (c.args.isEmpty()) {
            EXPECT_EQ(o.outcome, O::UsageError) << qPrintable(c.words.join(' '));
            continue;
        }
        EXPECT_EQ(o.outcome, O::Run) << qPrintable(c.words.join(' ')) << ": " << qPrintable(o.error);
        EXPECT_EQ(o.args, c.args) << qPrintable(c.words.join(' '));
    }
}

// velocity V and --velocity V follow the Velocity dialog's rules and messages.
TEST(CtlOptionsVelocity, FollowsTheVelocityDialog)
{
    const QString range = QStringLiteral("Please enter a whole number between 0 and 6550.");
    const QString high = QStringLiteral("Velocity must be less than 1310 in high resolution mode");
    const struct
    {
        QStringList words;
        QString refusal; // empty: accepted
    } cases[] = {
        {{"velocity", "0"}, {}},
        {{"velocity", "6550"}, {}},
        {{"velocity", "6551"}, range},
        {{"velocity", "30000"}, range},
        {{"velocity", "-1"}, range},
        {{"velocity", "12.5"}, range},
        {{"velocity", "1310", "--high"}, {}},
        {{"velocity", "1311", "--high"}, high},
        {{"run", "a.dat", "--velocity", "6550"}, {}},
        {{"run", "a.dat", "--velocity", "6551"}, range},
        {{"execute", "1", "--velocity", "1311", "--high"}, high},
    };
    for (const auto& c : cases) {
        const CtlOptions o = CtlOptions::parse(QStringList{QStringLiteral("qx410ctl")} + c.words);
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(o.outcome, O::Run) << qPrintable(c.words.join(' ')) << ": " << qPrintable(o.error);
        } else {
            EXPECT_EQ(o.outcome, O::UsageError) << qPrintable(c.words.join(' '));
            EXPECT_TRUE(o.error.endsWith(c.refusal)) << qPrintable(o.error);
        }
    }
}

TEST(CtlCommands, MoveBeyondThirtyTwoBitsIsRefused)
{
    CtlFixture f;
    EXPECT_EQ(f.run({"move", "85899346", "0", "0"}), 1);
    EXPECT_EQ(f.run({"move", "85899345.92", "0", "0"}), 1);
    EXPECT_EQ(f.run({"move", "1.5x", "0", "0"}), 1);
    EXPECT_TRUE(f.port.written.isEmpty());
}

// Fractions go to the nearest microstep; --relative asks for the position
// first and moves from there; --high prints the hundredths.
TEST(CtlCommands, MoveTakesFractionsAndOffsets)
{
    const struct
    {
        std::initializer_list<const char*> words;
        Position at;
        const char* bytes;
        const char* out;
    } cases[] = {
        {{"move", "12.5", "-0.04", "100.36"}, {}, "6D39010000FFFFFFFFCD0900000D630D630D", "13 0 100\n"},
        {{"move", "12.5", "-0.04", "100.36", "--high"}, {}, "6D39010000FFFFFFFFCD0900000D630D630D",
         "12.52 -0.04 100.36\n"},
        {{"move", "--relative", "0.5", "-0.02", "1"}, {1000, 0, -25}, "630D6DF5030000FFFFFFFF000000000D630D630D",
         "41 0 0\n"},
    };
    for (const auto& c : cases) {
        CtlFixture f;
        f.port.placeController(c.at);
        EXPECT_EQ(f.run(c.words), 0) << qPrintable(f.errText);
        EXPECT_EQ(f.port.written, hex(c.bytes)) << c.out;
        EXPECT_EQ(f.outText, QLatin1String(c.out));
    }
}

TEST(CtlCommands, RelativeMoveBeyondThirtyTwoBitsSendsNothing)
{
    CtlFixture f;
    f.port.placeController(Position{25, 0, 0});
    EXPECT_EQ(f.run({"move", "--relative", "85899345.88", "0", "0"}), 1);
    EXPECT_EQ(f.port.written, hex("630D"));
    EXPECT_TRUE(f.outText.isEmpty());
}

TEST(CtlCommands, StatusPrintsNineteenNumbers)
{
    CtlFixture f;
    EXPECT_EQ(f.run({"status"}), 0);
    EXPECT_EQ(f.port.written, hex("730D"));
    EXPECT_EQ(f.outText.trimmed().split(QLatin1Char(',')).size(), 19) << qPrintable(f.outText);
}

TEST(CtlFailures, SilentControllerEndsWithStatusThreeAfterTheReplyWatch)
{
    qx410sim::Faults silent;
    silent.silent = true;
    CtlFixture f(silent);
    const qint64 start = f.clock.nowMs();
    EXPECT_EQ(f.run({"position"}), 3);
    EXPECT_GT(f.clock.nowMs() - start, 6000);
    EXPECT_LE(f.clock.nowMs() - start, 8000);
    EXPECT_TRUE(f.outText.isEmpty());
    EXPECT_TRUE(f.errText.startsWith(QStringLiteral("qx410ctl: position: no answer from the controller on COM1")))
        << qPrintable(f.errText);
    EXPECT_EQ(f.errText.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(f.prompts.shown.isEmpty());
}

TEST(CtlFailures, MoveThatNeverEndsIsStoppedAtTheLimit)
{
    qx410sim::Faults silent;
    silent.silent = true;
    CtlFixture f(silent);
    EXPECT_EQ(f.run({"--timeout", "3", "move", "100", "0", "0"}), 3);
    EXPECT_TRUE(f.port.written.endsWith(hex("030D")));
}

TEST(CtlFailures, DeviceThatDisappearsIsNamed)
{
    CtlFixture f;
    f.port.vanishAt(f.clock.nowMs() + 500);
    EXPECT_EQ(f.run({"--port", "/dev/qx410-pulled-adapter", "move", "10000", "0", "0"}), 3);
    EXPECT_EQ(f.errText, QStringLiteral("qx410ctl: move: the serial device /dev/qx410-pulled-adapter disappeared\n"));
}

TEST(CtlFailures, PortThatCannotBeOpenedEndsWithStatusTwo)
{
    CtlFixture f;
    f.port.refuseOpen(QStringLiteral("Permission denied"));
    EXPECT_EQ(f.run({"--port", "/dev/ttyUSB9", "position"}), 2);
    EXPECT_EQ(f.errText, QStringLiteral("qx410ctl: Cannot open serial port. Please check hardware. (/dev/ttyUSB9: "
                                        "Permission denied)\n"));

    CtlFixture g;
    g.port.refuseSettings(true);
    EXPECT_EQ(g.run({"position"}), 2);
    EXPECT_TRUE(g.errText.startsWith(QStringLiteral("qx410ctl: Cannot set serial port properly. Please check hardware. (COM1 = ")));
}

// qx410ctl check: a command file read as a run would read it, with no port.
struct CheckFile
{
    explicit CheckFile(const QByteArray& bytes)
    {
        QFile file(path());
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QString path() const { return folder.filePath(QStringLiteral("path.dat")); }

    QTemporaryDir folder;
};

TEST(CtlCheck, PrintsWhatARunWouldDoWithEachLine)
{
    const CheckFile file("High, 1000\r\nMove,10,-20,3\r\nLowest, 5\r\nmove, 1, 2, 3\r\nPause  \r\nHigh, 40000\r\n");
    CtlFixture f;
    EXPECT_EQ(f.run({"check", qPrintable(file.path())}), 0) << qPrintable(f.errText);
    EXPECT_EQ(f.outText, QStringLiteral("High 33768\nMove 250 -500 75\nLow 5\nOther\nPause\nHigh 7232\n"));
    EXPECT_TRUE(f.errText.isEmpty());
    EXPECT_TRUE(f.port.openedDevices.isEmpty());
    EXPECT_TRUE(f.port.written.isEmpty());
}

TEST(CtlCheck, PrintsOneLineForEveryLineOfTheFile)
{
    struct Case
    {
        QByteArray bytes;
        QString printed;
        int status; // 1 when a run would refuse a line
    };
    const Case cases[] = {
        {"", "", 0},
        {"Move, 100\r\nLow, 1000\r\nPause\r\nPause, 5", "Move 2500 0 0\nLow 1000\nPause\nPause\n", 0},
        {"Status, 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19\r\n\r\n\n", "Other\nOther\nOther\n", 0},
        {"High,  500\r\nPause  \r\nLow\r\n", "High 33268\nPause\nLow 0\n", 0},
        // Aligned columns: the blanks before a number do not count toward its field.
        {"Move,       -12700,       12700,        500\r\nHigh,         1000\r\n",
         "Move -317500 317500 12500\nHigh 33768\n", 0},
        // A byte-order mark is no part of the first line.
        {"\xEF\xBB\xBFMove, 4, 0, 0\r\n", "Move 100 0 0\n", 0},
        // What a run refuses is marked with the reason the run gives; the lines after it are still shown.
        {QByteArray("\0\xff\r\n", 4)
             + "Move, -2147483648, 85899346, 1\r\nMove, 85899346, 0, 0\r\nMove, 171798691\r\n"
               "Move,  0000000000025\r\nPause\r\n",
         "Other\nRefused: Line 2 moves beyond the controller's range (more than 85899345 µm from the origin)\n"
         "Refused: Line 3 moves beyond the controller's range (more than 85899345 µm from the origin)\n"
         "Refused: Line 4 moves beyond the controller's range (more than 85899345 µm from the origin)\n"
         "Refused: Line 5 holds a number longer than 11 characters\nPause\n",
         1},
    };
    for (const Case& c : cases) {
        const CheckFile file(c.bytes);
        CtlFixture f;
        EXPECT_EQ(f.run({"check", qPrintable(file.path())}), c.status);
        EXPECT_EQ(f.outText, c.printed) << c.bytes.toHex(' ').toStdString();
    }
}

// A Move a run would refuse for the travel limits is marked as the run marks
// it; limits that cannot be read check nothing.
TEST(CtlCheck, MarksAMoveOutsideTheTravelLimits)
{
    const CheckFile file("Move, 0, 0, -5000\r\nMove, 0, 0, -6000\r\n");
    const QString folder = file.folder.path();
    const QString limits = file.folder.filePath(QStringLiteral("Qx410.limits"));
    for (const auto& [content, status, printed] :
         {std::tuple<QByteArray, int, QString>{"Z -5000 off\n", 1,
                                               QStringLiteral("Move 0 0 -125000\nRefused: Line 2 moves to Z = -6000 µm, "
                                                              "below the Z floor of -5000 µm\n")},
          {"Z -5000\n", 2, QString()}}) {
        QFile f(limits);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        CtlFixture c;
        EXPECT_EQ(c.run({"--settings", qPrintable(folder), "check", qPrintable(file.path())}), status) << qPrintable(c.errText);
        EXPECT_EQ(c.outText, printed);
    }
}

// Lines that end in CR alone read as one line, and a last line may lack its LF:
// check warns, on standard error, or with --json as an object among the lines.
TEST(CtlCheck, WarnsAboutLineEndsARunReadsOtherwiseThanTheyLook)
{
    const CheckFile file("Move, 1, 2\rMove, 5, 6, 7\rPause\r\nLow, 5");
    CtlFixture f;
    EXPECT_EQ(f.run({"check", qPrintable(file.path())}), 1);
    EXPECT_EQ(f.outText, QStringLiteral("Refused: Line 1 holds a CR that is not followed by LF, so the lines of the "
                                        "file run together (lines must end in CR LF)\nLow 5\n"));
    EXPECT_EQ(f.errText, QStringLiteral("qx410ctl: warning: line 1 holds a CR that is not followed by LF: the file's "
                                        "lines seem to end in CR alone, and a run reads them as this one line\n"
                                        "qx410ctl: warning: line 2 is the last and does not end in LF; a run reads it "
                                        "as it is\n"));

    CtlFixture json;
    EXPECT_EQ(json.run({"--json", "check", qPrintable(file.path())}), 1);
    const QStringList lines = json.outText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    const auto object = [](const QString& line) { return QJsonDocument::fromJson(line.toUtf8()).object(); };
    EXPECT_EQ(object(lines[0]).value("refused").toString(),
              QString::fromUtf8(HostCommand::refusalText(HostCommand::Refusal::BareCr).data()));
    EXPECT_EQ(object(lines[0]).value("kind").toString(), QStringLiteral("Move"));
    EXPECT_EQ(object(lines[1]).value("line").toInt(), 1);
    EXPECT_TRUE(object(lines[1]).value("warning").toString().startsWith(QStringLiteral("holds a CR")));
    EXPECT_EQ(object(lines[2]), (QJsonObject{{"line", 2}, {"kind", "Low"}, {"velocityWord", 5}}));
    EXPECT_EQ(object(lines[3]).value("line").toInt(), 2);
    EXPECT_TRUE(json.errText.isEmpty());
}

TEST(CtlCheck, JsonGivesOneObjectALine)
{
    const CheckFile file("High, 1000\r\nMove,10,-20,3\r\nStatus, 1\r\nPause\r\n");
    CtlFixture f;
    EXPECT_EQ(f.run({"--json", "check", qPrintable(file.path())}), 0);
    EXPECT_EQ(f.outText, QStringLiteral("{\"kind\":\"High\",\"line\":1,\"velocityWord\":33768}\n"
                                        "{\"kind\":\"Move\",\"line\":2,\"microsteps\":{\"x\":250,\"y\":-500,\"z\":75}}\n"
                                        "{\"kind\":\"Other\",\"line\":3}\n"
                                        "{\"kind\":\"Pause\",\"line\":4}\n"));
}

// Only a regular file is read: a device never ends and a FIFO waits for a
// writer, so neither is opened.
TEST(CtlCheck, FileThatCannotBeOpenedEndsWithStatusTwo)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("fifo.dat"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {folder.filePath(QStringLiteral("missing.dat")), folder.path(),
                                QStringLiteral("/dev/zero"), fifo}) {
        CtlFixture f;
        EXPECT_EQ(f.run({"check", qPrintable(path)}), 2);
        EXPECT_TRUE(f.outText.isEmpty());
        EXPECT_EQ(f.errText, QStringLiteral("qx410ctl: Can not load file, please check what is wrong! (%1)\n").arg(path));
        EXPECT_TRUE(f.port.openedDevices.isEmpty());
    }
}

TEST(CtlCheck, TheProgramChecksAFile)
{
    const CheckFile file("High, 1000\r\nMove,10,-20,3\r\nLowest, 5\r\nmove, 1, 2, 3\r\nPause  \r\nHigh, 40000\r\n");
    QProcess process;
    process.start(QStringLiteral(QX410CTL_EXE), {QStringLiteral("--port"), QStringLiteral("/nonexistent/port"),
                                                 QStringLiteral("check"), file.path()});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(), QByteArray("High 33768\nMove 250 -500 75\nLow 5\nOther\nPause\nHigh 7232\n"));

    process.start(QStringLiteral(QX410CTL_EXE), {QStringLiteral("check"), file.path() + QStringLiteral(".missing")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(process.readAllStandardError().contains("Can not load file, please check what is wrong!"));
}

// A bindings file that cannot be read (here a FIFO, which would block an open)
// is named in a warning and ignored: the ports keep their defaults.
TEST(CtlPorts, AnUnreadableBindingsFileIsNamedAndIgnored)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("Qx410.ports"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.start(QStringLiteral(QX410CTL_EXE), {QStringLiteral("ports")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardError(),
              QStringLiteral("qx410ctl: %1 cannot be read (not a regular file) and was ignored.\n").arg(fifo).toUtf8());
    EXPECT_TRUE(process.readAllStandardOutput().startsWith("COM1 /dev/ttyS0 (default)\n"));
}

// /proc/self/mem opens but fails the first read with EIO: an error reading the
// file ends with status 2 and the message, not with an abort.
TEST(CtlCheck, ReadErrorEndsWithStatusTwoAndTheMessage)
{
    if (!QFile::exists(QStringLiteral("/proc/self/mem")))
        GTEST_SKIP() << "no /proc/self/mem to fail a read";
    QProcess process;
    process.start(QStringLiteral(QX410CTL_EXE), {QStringLiteral("check"), QStringLiteral("/proc/self/mem")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_EQ(process.readAllStandardError(),
              QByteArray("qx410ctl: Can not load file, please check what is wrong! (/proc/self/mem)\n"));
}

} // namespace
