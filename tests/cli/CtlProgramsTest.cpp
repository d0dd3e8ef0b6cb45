// qx410ctl download, execute, continue, upload and programs against the
// in-process simulated controller.

#include "CtlFixture.h"
#include "CtlPrograms.h"
#include "ProgramExchange.h"
#include "SerialLink.h"
#include "TempFiles.h"
#include "TerminalProgress.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

// The shared fixture, with a folder for command files and the bytes written
// since the last look. Usage errors come back as -1.
struct ProgramCtl : CtlFixture
{
    using CtlFixture::CtlFixture;

    int run(const QStringList& words)
    {
        if (CtlOptions::parse(QStringList{QStringLiteral("qx410ctl")} + words).outcome != CtlOptions::Outcome::Run)
            return -1;
        return CtlFixture::run(words);
    }

    QByteArray wire()
    {
        return port.takeWritten();
    }

    QTemporaryDir dir;
};

TEST(CtlPrograms, DownloadWritesHeaderStepsAndRefresh)
{
    ProgramCtl c;
    const QString path = TempFiles::write(c.dir, "a.dat", "Move,10,-20,3\r\nPause\r\n");
    EXPECT_EQ(c.run({QStringLiteral("download"), path, QStringLiteral("10")}), 0) << qPrintable(c.errText);
    EXPECT_EQ(c.wire(), QByteArray("64 0A 00 02 00 0D E8 03 FA 00 00 00 0C FE FF FF 4B 00 00 00 "
                                   "00 00 00 00 00 00 00 00 00 00 00 00 00 00 6E 0D"));
    EXPECT_EQ(c.outText, QStringLiteral("2\n"));
    EXPECT_EQ(c.run({QStringLiteral("--velocity"), QStringLiteral("1000"), QStringLiteral("--high"),
                     QStringLiteral("download"), path, QStringLiteral("1")}),
              0);
    EXPECT_TRUE(c.wire().startsWith("64 01 00 02 00 0D E8 83"));
}

TEST(CtlPrograms, RefusalsAndTheirExitStatus)
{
    ProgramCtl c;
    EXPECT_EQ(c.run({QStringLiteral("download"), c.dir.filePath(QStringLiteral("none.dat")), QStringLiteral("1")}), 2);
    EXPECT_TRUE(c.errText.contains(QStringLiteral("Can not load file, please check what is wrong!")));
    EXPECT_EQ(c.run({QStringLiteral("download"), TempFiles::write(c.dir, "s.dat", "Status, 1\r\n"), QStringLiteral("1")}), 1);
    EXPECT_EQ(c.run({QStringLiteral("execute"), QStringLiteral("11")}), 1);
    EXPECT_EQ(c.run({QStringLiteral("--relative"), QStringLiteral("upload"), QStringLiteral("1"),
                     QStringLiteral("x.dat")}),
              -1); // usage error
    EXPECT_TRUE(c.wire().isEmpty());
}

TEST(CtlPrograms, ExecuteInBothModesPrintsThePosition)
{
    for (bool relative : {false, true}) {
        ProgramCtl c;
        c.run({QStringLiteral("download"), TempFiles::write(c.dir, "a.dat", "Move,100,0,0\r\nMove,200,0,0\r\n"), QStringLiteral("3")});
        c.wire();
        QStringList words{QStringLiteral("--velocity"), QStringLiteral("500"), QStringLiteral("execute"),
                          QStringLiteral("3")};
        if (relative)
            words << QStringLiteral("--relative");
        c.outText.clear();
        EXPECT_EQ(c.run(words), 0) << qPrintable(c.errText);
        EXPECT_EQ(c.wire(), QByteArray("75 03 00 0D ") + (relative ? "62 0D " : "61 0D ")
                                + "6B 03 00 0D 6E 0D 63 0D 56 F4 01 0D");
        EXPECT_EQ(c.outText, relative ? QStringLiteral("300 0 0\n") : QStringLiteral("200 0 0\n"));
    }
}

TEST(CtlPrograms, ExecuteOfAProgramWithoutStepsIsRefusedAfterTheProgramInfo)
{
    ProgramCtl c;
    EXPECT_EQ(c.run({QStringLiteral("execute"), QStringLiteral("4")}), 1);
    EXPECT_EQ(c.wire(), QByteArray("75 04 00 0D"));
    EXPECT_EQ(c.errText, QStringLiteral("qx410ctl: You have selected a program without any content, please select "
                                        "Again! (program 4)\n"));
    EXPECT_TRUE(c.outText.isEmpty());
}

// Enter on the terminal while execute waits lets a program that waits at a
// pause step go on.
TEST(CtlPrograms, EnterWhileExecuteWaitsSendsContinue)
{
    ProgramCtl c;
    c.run({QStringLiteral("download"), TempFiles::write(c.dir, "p.dat", "Pause\r\nMove,100,0,0\r\n"),
           QStringLiteral("2")});
    c.wire();
    c.outText.clear();
    int keys[2];
    ASSERT_EQ(::pipe(keys), 0);
    ASSERT_EQ(::write(keys[1], "\n", 1), 1);

    SerialSettings settings;
    SerialLink link(c.port, c.clock, c.prompts, settings);
    link.setRecoveryEnabled(false);
    ASSERT_EQ(link.open(), SerialLink::OpenResult::Opened);
    const CtlOptions o = CtlOptions::parse({QStringLiteral("qx410ctl"), QStringLiteral("execute"), QStringLiteral("2")});
    CtlPrograms programs(c.clock, c.prompts, c.out, c.err);
    programs.setEnterInput(keys[0]);
    ASSERT_EQ(programs.prepare(o), -1);
    EXPECT_EQ(programs.run(o, link, c.port), LinkStatus::Ok);
    c.out.flush();
    EXPECT_EQ(programs.exitStatus(), 0);
    EXPECT_TRUE(c.wire().contains("6B 02 00 0D 65 0D"));
    EXPECT_EQ(c.outText, QStringLiteral("100 0 0\n"));
    ::close(keys[0]);
    ::close(keys[1]);
}

TEST(CtlPrograms, UploadWritesTheCommandFileAndProgramsCountsSteps)
{
    ProgramCtl c;
    c.run({QStringLiteral("download"), TempFiles::write(c.dir, "a.dat", "Move,10,-20,3\r\nMove,0,0,0\r\nPause\r\n"),
           QStringLiteral("1")});
    c.outText.clear();
    const QString out = c.dir.filePath(QStringLiteral("out.dat"));
    EXPECT_EQ(c.run({QStringLiteral("upload"), QStringLiteral("1"), out}), 0);
    EXPECT_EQ(c.outText, QStringLiteral("3\n"));
    EXPECT_EQ(TempFiles::read(out), QByteArray("Low,  1000\r\nMove, 10, -20, 3\r\nMove, 0, 0, 0\r\nPause  \r\n"));

    c.outText.clear();
    EXPECT_EQ(c.run({QStringLiteral("programs")}), 0);
    EXPECT_EQ(c.outText, QStringLiteral("1 3\n2 0\n3 0\n4 0\n5 0\n6 0\n7 0\n8 0\n9 0\n10 0\n"));
    c.outText.clear();
    EXPECT_EQ(c.run({QStringLiteral("--json"), QStringLiteral("programs")}), 0);
    EXPECT_TRUE(c.outText.startsWith(QStringLiteral("{\"program\":1,\"steps\":3}\n{\"program\":2,\"steps\":0}\n")))
        << qPrintable(c.outText);
    EXPECT_EQ(c.outText.count(QLatin1Char('\n')), 10);
    c.wire();
    EXPECT_EQ(c.run({QStringLiteral("continue")}), 0);
    EXPECT_EQ(c.wire(), QByteArray("65 0D"));
}

// A garbage step count is reported at once, for every command that reads one.
TEST(CtlPrograms, AStepCountOutOfRangeIsReportedAtOnce)
{
    qx410sim::Faults badCount;
    badCount.badCount = true;
    ProgramCtl c(badCount);
    const QString out = c.dir.filePath(QStringLiteral("out.dat"));
    for (const QStringList& words : {QStringList{QStringLiteral("programs")}, QStringList{QStringLiteral("upload"), QStringLiteral("1"), out}}) {
        c.errText.clear();
        const qint64 before = c.clock.nowMs();
        EXPECT_EQ(c.run(words), 3);
        EXPECT_LT(c.clock.nowMs() - before, 1000);
        EXPECT_EQ(c.errText, QStringLiteral("qx410ctl: %1: %2\n").arg(words[0], ProgramExchange::badCountText.arg(-1).arg(1)));
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST(TerminalProgress, OneLineRewrittenInPlaceOnlyOnATerminalWithoutJson)
{
    EXPECT_TRUE(TerminalProgress::wanted(false, true));
    EXPECT_FALSE(TerminalProgress::wanted(true, true));
    EXPECT_FALSE(TerminalProgress::wanted(false, false));
    for (const bool wanted : {true, false}) {
        QString text;
        QTextStream stream(&text);
        TerminalProgress progress(stream, wanted);
        progress.started(ProgramProgress::Transfer::Read, 2, 2);
        progress.advanced(1);
        progress.advanced(2);
        progress.finished();
        EXPECT_EQ(text, wanted ? QStringLiteral("\rReading program 2: step 0 of 2\rReading program 2: step 1 of 2"
                                                "\rReading program 2: step 2 of 2\n")
                               : QString());
    }
}

} // namespace
