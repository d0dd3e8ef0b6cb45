#include "ExecRig.h"

#include <gtest/gtest.h>

namespace {

using Outcome = HostExecutor::Outcome;
using Answer = Prompts::Answer;

struct LineCase
{
    const char* name;
    QStringList lines;
    std::vector<Answer> answers;
    QByteArray wire; // without the final restore
    Outcome outcome;
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

class LineKinds : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(LineKinds, EachKindSendsItsCommandAndTheRunEndsByRestoringTheVelocity)
{
    const LineCase& c = GetParam();
    ExecRig r;
    for (Answer a : c.answers)
        r.prompts.answers.push_back(a);
    HostExecutor executor(r.moves, r.prompts, ExecRig::dialogLike());
    EXPECT_EQ(executor.run(r.file(c.lines)), c.outcome);
    EXPECT_EQ(r.port.written, c.wire + restoreBytes());
    EXPECT_FALSE(r.moves.busy());
    EXPECT_TRUE(executor.idle());
}

INSTANTIATE_TEST_SUITE_P(
    HostExecutor, LineKinds,
    ::testing::Values(
        LineCase{"MoveTimes25", {"Move, 100, 0, 0"}, {}, ExecRig::moveBytes(2500, 0, 0), Outcome::Finished},
        LineCase{"SpeedLineThenMove",
                 {"High, 1000", "Move, 100, 0, 0"},
                 {},
                 hex("56E8830D") + hex("6D C4 09 00 00 00 00 00 00 00 00 00 00 0D") + hex("630D630D"),
                 Outcome::Finished},
        LineCase{"LowWord", {"Low,  200"}, {}, hex("56C8000D"), Outcome::Finished},
        LineCase{"OnlyStatusLinesSendNothing",
                 {"Status, 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19", "Status, 0"},
                 {},
                 {},
                 Outcome::Finished},
        LineCase{"EmptyFile", {}, {}, {}, Outcome::Finished},
        LineCase{"PauseYesContinues", {"Pause ", "Low, 5"}, {Answer::Yes}, hex("650D 5605000D"), Outcome::Finished},
        LineCase{"PauseNoHalts", {"Pause ", "Low, 5"}, {Answer::No}, haltBytes(), Outcome::Halted},
        LineCase{"WrappingMoveIsNotSent",
                 {"Low, 5", "Move, 90000000, 0, 0", "Low, 6"},
                 {},
                 hex("5605000D"),
                 Outcome::Refused},
        LineCase{"SpeedLineWithATooLongNumberIsNotSent",
                 {"Low, 5", "High, 000000001000", "Low, 6"},
                 {},
                 hex("5605000D"),
                 Outcome::Refused}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostExecutor, HaltDuringTheSecondOfThreeMovesSendsItsSequenceAndNeverStartsTheThird)
{
    ExecRig r;
    HostExecutor::Options o = ExecRig::dialogLike();
    int line = 0;
    o.onLine = [&](int n, const HostCommand&) { line = n; };
    HostExecutor executor(r.moves, r.prompts, o);
    bool halted = false;
    r.duringWait = [&] {
        if (line == 2 && !halted)
            halted = executor.halt();
    };
    const QString path = r.file({"Move, 1000, 0, 0", "Move, 2000, 0, 0", "Move, 3000, 0, 0"});
    EXPECT_EQ(executor.run(path), Outcome::Halted);
    EXPECT_TRUE(halted);
    EXPECT_EQ(r.port.written, ExecRig::moveBytes(25000, 0, 0) + Commands::move(Position{50000, 0, 0}) + haltBytes()
                                  + hex("630D630D") + restoreBytes());
    EXPECT_LT(r.moves.position().x, 50000); // the second move ended where it stopped
}

TEST(HostExecutor, ARefusedLineIsNamedWithTheReason)
{
    ExecRig r;
    HostExecutor executor(r.moves, r.prompts, ExecRig::dialogLike());
    EXPECT_EQ(executor.run(r.file({"Low, 5", "Move,       -12700, 123456789012, 0"})), Outcome::Refused);
    ASSERT_EQ(r.prompts.shown.size(), 1);
    EXPECT_EQ(r.prompts.shown[0].text, QStringLiteral("Line 2 holds a number longer than 11 characters. It was not "
                                                      "sent and execution has been halted."));
    EXPECT_EQ(r.prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(r.prompts.shown[0].icon, Prompts::Icon::Exclamation);
}

TEST(HostExecutor, ALineOutsideTheTravelLimitsEndsTheRunBeforeItIsSent)
{
    ExecRig r;
    TravelLimits limits;
    limits.setRange(2, {-125000, std::nullopt});
    r.moves.setTravelLimits(limits);
    HostExecutor executor(r.moves, r.prompts, ExecRig::dialogLike());
    EXPECT_EQ(executor.run(r.file({"Move, 0, 0, -5000", "Move, 0, 0, -6000", "Move, 0, 0, 0"})), Outcome::Refused);
    ASSERT_EQ(r.prompts.shown.size(), 1);
    EXPECT_EQ(r.prompts.shown[0].text, QStringLiteral("Line 2 moves to Z = -6000 µm, below the Z floor of -5000 µm. "
                                                      "It was not sent and execution has been halted."));
    EXPECT_EQ(r.port.written, ExecRig::moveBytes(0, 0, -125000) + restoreBytes());
}

TEST(HostExecutor, HaltWithNothingRunningDoesNothing)
{
    ExecRig r;
    HostExecutor executor(r.moves, r.prompts, ExecRig::dialogLike());
    EXPECT_FALSE(executor.halt());
    EXPECT_TRUE(r.port.written.isEmpty());
}

TEST(HostExecutor, AbandonAtAPauseSendsNothingAndReadsNoFurtherLine)
{
    ExecRig r;
    HostExecutor::Options o = HostExecutor::Options::path();
    int lines = 0;
    o.onLine = [&](int, const HostCommand&) { ++lines; };
    HostExecutor executor(r.moves, r.prompts, o);
    r.moves.busy() = true;
    EXPECT_EQ(executor.run(r.file({"Pause", "Low, 5"})), Outcome::Abandoned);
    EXPECT_EQ(lines, 1);
    EXPECT_TRUE(r.port.written.isEmpty());
    EXPECT_FALSE(r.moves.busy());
    ASSERT_EQ(r.prompts.shown.size(), 1);
    EXPECT_EQ(r.prompts.shown[0].text, QStringLiteral("Continue Execution?"));
    EXPECT_EQ(r.prompts.shown[0].caption, QStringLiteral("Qx410"));
    EXPECT_EQ(r.prompts.shown[0].icon, Prompts::Icon::Question);
    EXPECT_EQ(r.prompts.shown[0].buttons, Prompts::Buttons::YesNo);
}

TEST(HostExecutor, APauseAnsweredYesAsTheLastLineDoesNotLeaveTheControlsLocked)
{
    ExecRig r;
    r.prompts.answers = {Answer::Yes};
    HostExecutor::Options o;
    o.restoreVelocity = false;
    HostExecutor executor(r.moves, r.prompts, o);
    EXPECT_EQ(executor.run(r.file({"Pause "})), Outcome::Finished);
    EXPECT_EQ(r.port.written, hex("650D"));
    EXPECT_FALSE(r.moves.busy());
}

TEST(HostExecutor, AWrappingMoveNamesItsLine)
{
    ExecRig r;
    HostExecutor executor(r.moves, r.prompts, ExecRig::dialogLike());
    executor.run(r.file({"Status, 0", "Status, 0", "Move, 0, -90000000, 0"}));
    ASSERT_EQ(r.prompts.shown.size(), 1);
    EXPECT_TRUE(r.prompts.shown[0].text.startsWith(QStringLiteral("Line 3 ")));
    EXPECT_EQ(r.prompts.shown[0].icon, Prompts::Icon::Exclamation);
}

TEST(HostExecutor, AFileThatCannotBeOpenedIsReportedAndOnlyTheVelocityIsSent)
{
    ExecRig r;
    HostExecutor executor(r.moves, r.prompts, ExecRig::dialogLike());
    EXPECT_EQ(executor.run(r.folder.filePath(QStringLiteral("missing.dat"))), Outcome::CannotLoad);
    EXPECT_EQ(executor.run(r.folder.path()), Outcome::CannotLoad); // a folder
    // Opens, but reading it fails (EIO at address 0): like a file that cannot be opened.
    EXPECT_EQ(executor.run(QStringLiteral("/proc/self/mem")), Outcome::CannotLoad);
    EXPECT_EQ(r.port.written, restoreBytes().repeated(3));
    ASSERT_EQ(r.prompts.shown.size(), 3);
    EXPECT_EQ(r.prompts.shown[0].text, QStringLiteral("Can not load file, please check what is wrong!"));
    EXPECT_EQ(r.prompts.shown[0].caption, QStringLiteral("Warning"));
}

TEST(HostExecutor, LoopRunsItsPassesAndAFileThatCannotBeOpenedEndsItWithOneMessage)
{
    ExecRig r;
    HostExecutor executor(r.moves, r.prompts, ExecRig::dialogLike());
    const QString path = r.file({"Low, 5"});
    EXPECT_EQ(executor.loop([&] { return path; }, 3), Outcome::Finished);
    EXPECT_EQ(r.port.written, (hex("5605000D") + restoreBytes()).repeated(3));

    r.port.written.clear();
    int passes = 0;
    EXPECT_EQ(executor.loop(
                  [&] {
                      ++passes;
                      return passes == 1 ? path : r.folder.filePath(QStringLiteral("gone.dat"));
                  },
                  0),
              Outcome::CannotLoad);
    EXPECT_EQ(passes, 2);
    EXPECT_EQ(r.prompts.shown.size(), 1);
}

TEST(HostExecutor, HaltRequestedFromOutsideHaltsBeforeTheNextLine)
{
    ExecRig r;
    HostExecutor::Options o = ExecRig::dialogLike();
    int lines = 0;
    o.onLine = [&](int, const HostCommand&) { ++lines; };
    HostExecutor executor(r.moves, r.prompts, o);
    r.moves.setHaltRequest([&] { return lines == 1; });
    EXPECT_EQ(executor.run(r.file({"Low, 5", "Low, 6"})), Outcome::Halted);
    EXPECT_EQ(r.port.written, hex("5605000D") + haltBytes() + restoreBytes());
}

TEST(HostExecutor, CountLinesCountsEveryLineWhateverItsKind)
{
    ExecRig r;
    int count = -1;
    EXPECT_TRUE(HostExecutor::countLines(
        r.file({"High, 1000", "Move, 1, 2, 3", "Status, 1,2,3", "Pause ", "nonsense"}), &count));
    EXPECT_EQ(count, 5);
    QFile last(r.folder.filePath(QStringLiteral("last.dat")));
    last.open(QIODevice::WriteOnly);
    last.write("Low, 5\r\nMove, 1"); // a last line without LF is a line
    last.close();
    EXPECT_TRUE(HostExecutor::countLines(last.fileName(), &count));
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(HostExecutor::countLines(r.folder.filePath(QStringLiteral("missing.dat")), &count));
    EXPECT_FALSE(HostExecutor::countLines(QStringLiteral("/proc/self/mem"), &count)); // a read error
}

} // namespace
