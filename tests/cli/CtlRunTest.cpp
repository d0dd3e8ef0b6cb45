// qx410ctl run against the in-process simulated controller on the virtual
// clock: what it writes, prints and ends with.

#include "Commands.h"
#include "CtlFixture.h"
#include "PausePrompts.h"
#include "Printing.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include <sys/stat.h>

namespace {

// A command file in a temporary folder, and qx410ctl run on it.
struct RunFixture : CtlFixture
{
    explicit RunFixture(const QByteArray& fileBytes, qx410sim::Faults faults = {})
        : CtlFixture(faults)
    {
        QFile f(file());
        if (f.open(QIODevice::WriteOnly))
            f.write(fileBytes);
    }

    QString file() const { return folder.filePath(QStringLiteral("run.dat")); }

    // qx410ctl run FILE, then the extra words.
    int runFile(const QStringList& extra = {}) { return run(QStringList{QStringLiteral("run"), file()} + extra); }

    QTemporaryDir folder;
};

QByteArray moveAndReadBack(qint32 x)
{
    return Commands::move(Position{x, 0, 0}) + hex("630D 630D");
}

struct RunCase
{
    const char* name;
    QByteArray file;
    QStringList options;
    int status;
    QByteArray written;
    QString printed;
};

void PrintTo(const RunCase& c, std::ostream* os)
{
    *os << c.name;
}

class CtlRunCases : public testing::TestWithParam<RunCase>
{
};

TEST_P(CtlRunCases, WritesPrintsAndEndsAsExpected)
{
    const RunCase& c = GetParam();
    RunFixture f(c.file);
    EXPECT_EQ(f.runFile(c.options), c.status) << qPrintable(f.errText);
    EXPECT_EQ(f.port.written, hex("630D") + c.written); // the controller is asked first
    EXPECT_EQ(f.outText, c.printed);
}

const QByteArray halt = hex("5601000D 650D 030D");
const QByteArray restore1000 = hex("56E8030D");
const QByteArray readBack = hex("630D 630D");

INSTANTIATE_TEST_SUITE_P(
    Files, CtlRunCases,
    testing::Values(
        RunCase{"SpeedLineThenMove", "High, 1000\r\nMove, 100, 0, 0\r\n", {}, 0,
                hex("56E8830D") + moveAndReadBack(2500) + restore1000, "100 0 0\n"},
        RunCase{"OnlyStatusLinesRestoreTheGivenVelocity", "Status, 1,2,3\r\nStatus, 4\r\n",
                {"--velocity", "500"}, 0, hex("56F4010D") + readBack, "0 0 0\n"},
        RunCase{"PauseContinued", "Pause \r\nMove, 4, 0, 0\r\n", {"--pause", "continue"}, 0,
                hex("650D") + moveAndReadBack(100) + restore1000, "4 0 0\n"},
        RunCase{"PauseHalted", "Pause \r\nMove, 4, 0, 0\r\n", {"--pause", "halt"}, 4,
                halt + restore1000 + readBack, "0 0 0\n"},
        RunCase{"WrappingMoveIsNotSent", "Move, 4, 0, 0\r\nMove, 90000000, 0, 0\r\nMove, 8, 0, 0\r\n", {}, 4,
                moveAndReadBack(100) + restore1000, "4 0 0\n"},
        RunCase{"AlignedFieldsReadWhole", "High,         1000\r\nMove,       -4,       0,        8\r\n", {}, 0,
                hex("56E8830D") + Commands::move(Position{-100, 0, 200}) + readBack + restore1000, "-4 0 8\n"},
        RunCase{"TooLongNumberIsNotSent", "Move, 4, 0, 0\r\nMove, 000000000008, 0, 0\r\nMove, 8, 0, 0\r\n", {}, 4,
                moveAndReadBack(100) + restore1000, "4 0 0\n"},
        RunCase{"TwoPasses", "Move, 4, 0, 0\r\n", {"--loop", "2"}, 0,
                (moveAndReadBack(100) + restore1000).repeated(2), "4 0 0\n"},
        RunCase{"JsonPosition", "Move, 4, 0, 0\r\n", {"--json"}, 0, moveAndReadBack(100) + restore1000,
                "{\"x\":4,\"y\":0,\"z\":0}\n"}),
    [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST(CtlRun, PrintsOneProgressLinePerLineOnStandardError)
{
    RunFixture f("High, 1000\r\nMove,10,-20,3\r\nStatus, 1\r\n");
    EXPECT_EQ(f.runFile(), 0);
    EXPECT_EQ(f.errText, QStringLiteral("line 1/3: High 1000\nline 2/3: Move 10 -20 3\nline 3/3: Other\n"));
}

TEST(CtlRun, AFileThatCannotBeReadEndsWithStatusTwoBeforeThePortIsOpened)
{
    RunFixture f("");
    const QString fifo = f.folder.filePath(QStringLiteral("fifo.dat"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {f.folder.filePath(QStringLiteral("missing.dat")), f.folder.path(),
                                QStringLiteral("/proc/self/mem"), QStringLiteral("/dev/zero"), fifo}) {
        f.errText.clear();
        EXPECT_EQ(f.run(QStringList{QStringLiteral("run"), path}), 2) << qPrintable(path);
        EXPECT_EQ(f.errText,
                  QStringLiteral("qx410ctl: Can not load file, please check what is wrong! (%1)\n").arg(path));
    }
    EXPECT_TRUE(f.port.openedDevices.isEmpty());
}

TEST(CtlRun, AControllerThatDoesNotAnswerIsFoundBeforeTheFirstLine)
{
    qx410sim::Faults silent;
    silent.silent = true;
    RunFixture f("Move, 4, 0, 0\r\nMove, 8, 0, 0\r\n", silent);
    const qint64 start = f.clock.nowMs();
    EXPECT_EQ(f.runFile(), 3); // the default --timeout of a move is far longer
    EXPECT_LE(f.clock.nowMs() - start, 10000);
    EXPECT_TRUE(f.errText.contains(QStringLiteral("qx410ctl: run: no answer from the controller on COM1")))
        << qPrintable(f.errText);
    EXPECT_EQ(f.port.written, hex("630D")); // no move is sent
    EXPECT_TRUE(f.outText.isEmpty());
}

TEST(CtlRun, AMoveBeyondTheTimeoutIsInterruptedAndTheVelocitySetAgain)
{
    RunFixture f("Move, 20000, 0, 0\r\nMove, 8, 0, 0\r\n");
    EXPECT_EQ(f.runFile({"--timeout", "1"}), 3);
    EXPECT_TRUE(f.errText.contains(QStringLiteral("within 1 s"))) << qPrintable(f.errText);
    EXPECT_EQ(f.port.written, hex("630D") + Commands::move(Position{500000, 0, 0}) + hex("030D") + restore1000);
}

struct OptionCase
{
    QStringList words;
    bool accepted;
};

TEST(CtlRun, OptionsAreCheckedAndGoWithRunOnly)
{
    const OptionCase cases[] = {
        {{"run", "a.dat"}, true},
        {{"run", "a.dat", "--velocity", "0", "--loop", "0", "--pause", "continue"}, true},
        {{"--pause", "ask", "run", "a.dat"}, true},
        {{"run"}, false},
        {{"run", "a.dat", "b.dat"}, false},
        {{"run", "a.dat", "--velocity", "32768"}, false},
        {{"run", "a.dat", "--velocity", "fast"}, false},
        {{"run", "a.dat", "--loop", "-1"}, false},
        {{"run", "a.dat", "--pause", "maybe"}, false},
        {{"--loop", "2", "position"}, false},
    };
    for (const OptionCase& c : cases) {
        const CtlOptions o = CtlOptions::parse(QStringList{QStringLiteral("qx410ctl")} + c.words);
        EXPECT_EQ(o.outcome == CtlOptions::Outcome::Run, c.accepted) << qPrintable(c.words.join(' '));
    }
    const CtlOptions o = CtlOptions::parse({QStringLiteral("qx410ctl"), QStringLiteral("run"), QStringLiteral("a")});
    EXPECT_EQ(o.velocitySetting, 1000);
    EXPECT_EQ(o.loops, 1);
}

// The Pause question on a terminal: y or n, asked again on anything else;
// the end of the input (or a signal) answers No.
TEST(PausePrompts, AskReadsYesOrNoFromTheTerminal)
{
    struct Case
    {
        const char* typed;
        Prompts::Answer answer;
        int questions;
    };
    const Case cases[] = {
        {"y\n", Prompts::Answer::Yes, 1},
        {"Yes\n", Prompts::Answer::Yes, 1},
        {"maybe\n\nn\n", Prompts::Answer::No, 3},
        {"", Prompts::Answer::No, 1},
    };
    for (const Case& c : cases) {
        std::FILE* in = std::tmpfile();
        std::FILE* err = std::tmpfile();
        ASSERT_TRUE(in && err);
        std::fputs(c.typed, in);
        std::rewind(in);
        PausePrompts prompts(PausePrompts::Mode::Ask, in, err);
        EXPECT_EQ(prompts.message(QStringLiteral("Continue Execution?"), QStringLiteral("Qx410"),
                                  Prompts::Icon::Question, Prompts::Buttons::YesNo),
                  c.answer)
            << c.typed;
        std::rewind(err);
        char shown[256] = {};
        const size_t length = std::fread(shown, 1, sizeof shown - 1, err);
        EXPECT_EQ(QString::fromLatin1(shown, static_cast<int>(length)),
                  QStringLiteral("Continue Execution? [y/n] ").repeated(c.questions))
            << c.typed;
        std::fclose(in);
        std::fclose(err);
    }
}

} // namespace
