// qx410ctl limits on the limits file of the current folder, and the commands
// that move the manipulator keeping those limits, against the in-process
// simulated controller.

#include "CtlFixture.h"
#include "Printing.h"
#include "TempFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The fixture in a folder of its own, which holds the limits file; standard
// input is no terminal, so nothing is asked.
struct LimitsCtl : CtlFixture
{
    LimitsCtl()
    {
        std::freopen("/dev/null", "r", stdin);
        QDir::setCurrent(dir.path());
    }
    ~LimitsCtl() { QDir::setCurrent(previous); }

    void writeLimits(const QByteArray& text) { TempFiles::write(dir, "Qx410.limits", text); }
    QByteArray limitsFile() const { return TempFiles::read(dir.filePath(QStringLiteral("Qx410.limits"))); }

    QTemporaryDir dir;
    QString previous = QDir::currentPath();
};

struct LimitsCase
{
    const char* name;
    QByteArray before; // the limits file; empty: none
    QStringList args;
    int status;
    QString printed;
};

void PrintTo(const LimitsCase& c, std::ostream* os) { *os << c.name; }

class CtlLimitsTable : public testing::TestWithParam<LimitsCase>
{
};

const QByteArray kZFloor = "Z -5000 off\n";

TEST_P(CtlLimitsTable, ShowsOrChangesTheFileWithoutAPort)
{
    LimitsCtl c;
    if (!GetParam().before.isEmpty())
        c.writeLimits(GetParam().before);
    EXPECT_EQ(c.run(QStringList{QStringLiteral("limits")} + GetParam().args), GetParam().status)
        << qPrintable(c.errText);
    EXPECT_EQ(c.outText, GetParam().printed);
    EXPECT_TRUE(c.port.takeWritten().isEmpty());
    // What was printed is what the file now holds, and a refusal changed nothing.
    if (GetParam().status == 0 && !GetParam().args.isEmpty())
        EXPECT_TRUE(c.limitsFile().endsWith(GetParam().printed.toUtf8()));
    else
        EXPECT_EQ(c.limitsFile(), GetParam().before);
}

INSTANTIATE_TEST_SUITE_P(
    Words, CtlLimitsTable,
    testing::Values(
        LimitsCase{"noneSet", "", {}, 0, "X off off\nY off off\nZ off off\n"},
        LimitsCase{"floorSet", "", {"z", "-5000", "off"}, 0, "X off off\nY off off\nZ -5000 off\n"},
        // Half a step rounds away from zero: -12.5 µm is -312.5 steps.
        LimitsCase{"fractionsToTheStep", kZFloor, {"X", "-12.5", "12.51"}, 0,
                   "X -12.52 12.52\nY off off\nZ -5000 off\n"},
        LimitsCase{"axisOff", kZFloor, {"Z", "off"}, 0, "X off off\nY off off\nZ off off\n"},
        LimitsCase{"minAboveMax", kZFloor, {"Y", "10", "-10"}, 1, ""},
        LimitsCase{"noAxis", "", {"W", "1", "2"}, 1, ""},
        LimitsCase{"notANumber", "", {"X", "1e3", "2"}, 1, ""},
        LimitsCase{"onIsNoChange", "", {"X", "on"}, 1, ""},
        // A change would drop the limits of the other axes that cannot be read.
        LimitsCase{"unreadableFile", "X 1 2 3\n", {"Z", "off"}, 2, ""},
        LimitsCase{"unreadableShown", "X 1 2 3\n", {}, 2, ""}));

TEST(CtlLimits, JsonIsOneObjectWithNullWhereNoLimitIs)
{
    LimitsCtl c;
    c.writeLimits(kZFloor);
    EXPECT_EQ(c.run({"--json", "limits"}), 0);
    EXPECT_EQ(c.outText, QStringLiteral("{\"x\":{\"lower\":null,\"upper\":null},\"y\":{\"lower\":null,\"upper\":null},"
                                        "\"z\":{\"lower\":-5000,\"upper\":null}}\n"));
}

// Every command that moves the manipulator keeps the limits of the file:
// nothing outside them is sent.
struct MovingCase
{
    const char* name;
    QStringList words; // FILE stands for a command file moving to Z = -6000
    int status;
    QString said;      // on standard error
};

void PrintTo(const MovingCase& c, std::ostream* os) { *os << c.name; }

class CtlLimitedMoves : public testing::TestWithParam<MovingCase>
{
};

TEST_P(CtlLimitedMoves, RefuseTargetsOutsideTheLimits)
{
    LimitsCtl c;
    c.writeLimits(kZFloor);
    const QString file = TempFiles::write(c.dir, "deep.dat", "Move,0,0,-100\r\nMove,0,0,-6000\r\nMove,0,0,0\r\n");
    QStringList words = GetParam().words;
    words.replaceInStrings(QStringLiteral("FILE"), file);
    EXPECT_EQ(c.run(words), GetParam().status);
    EXPECT_TRUE(c.errText.contains(GetParam().said)) << qPrintable(c.errText);
    const QByteArray written = c.port.takeWritten();
    EXPECT_FALSE(written.contains("10 B6 FD FF")) << written.constData(); // Z = -150000 microsteps never sent
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CtlLimitedMoves,
    testing::Values(
        MovingCase{"move", {"move", "0", "0", "-6000"}, 1,
                   "qx410ctl: move: Z = -6000 µm lies below the Z floor of -5000 µm. Nothing was sent.\n"},
        // The run's own message goes to standard error past the stream.
        MovingCase{"run", {"run", "FILE"}, 4, "line 2/3: Move 0 0 -6000\n"},
        MovingCase{"download", {"download", "FILE", "1"}, 1,
                   "Line 2 moves to Z = -6000 µm, below the Z floor of -5000 µm. Nothing has been loaded."},
        MovingCase{"relativeExecuteWithoutYes", {"execute", "1", "--relative"}, 1, "Give --yes to run it anyway."}));

TEST(CtlLimits, AnUnreadableLimitsFileStopsMovingCommandsOnly)
{
    LimitsCtl c;
    c.writeLimits("Q 1 2\n");
    EXPECT_EQ(c.run({"move", "0", "0", "0"}), 2);
    EXPECT_TRUE(c.errText.startsWith(QStringLiteral("qx410ctl: ") + c.dir.filePath(QStringLiteral("Qx410.limits"))
                                     + QStringLiteral(" cannot be read (line 1: ")))
        << qPrintable(c.errText);
    EXPECT_TRUE(c.port.takeWritten().isEmpty());
    EXPECT_EQ(c.run({"position"}), 0);
}

TEST(CtlLimits, RelativeExecuteWithYesRunsAndAbsoluteIsNotAsked)
{
    LimitsCtl c;
    c.writeLimits(kZFloor);
    const QString file = TempFiles::write(c.dir, "a.dat", "Move,100,0,0\r\n");
    ASSERT_EQ(c.run({"download", file, "3"}), 0);
    c.port.takeWritten();
    EXPECT_EQ(c.run({"execute", "3", "--relative", "--yes"}), 0) << qPrintable(c.errText);
    EXPECT_TRUE(c.port.takeWritten().contains("62 0D 6B 03 00 0D"));
    EXPECT_EQ(c.run({"execute", "3"}), 0);
    EXPECT_TRUE(c.port.takeWritten().contains("61 0D 6B 03 00 0D"));
}

} // namespace
