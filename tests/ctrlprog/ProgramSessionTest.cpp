// Download, execute and upload as the dialogs drive them, on the simulated
// controller and the virtual clock.

#include "DownloadSession.h"
#include "ExecuteSession.h"
#include "ProgramRig.h"
#include "ProgramTexts.h"
#include "TempFiles.h"
#include "ProgramUpload.h"
#include "UploadSession.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

const std::vector<StepValues> kThreeSteps{{1000, 250, -500, 75}, {1000, 0, 0, 0}, {}};

TEST(DownloadSession, StoresHeaderStepsAndRefreshWithTheirPauses)
{
    ProgramRig rig;
    QTemporaryDir dir;
    DownloadSession session(rig.exchange, rig.prompts, rig.host);
    rig.prompts.fileNames.push_back(TempFiles::write(dir, "a.dat", "Move,10,-20,3\r\nPause\r\n"));
    session.selectFile();
    EXPECT_EQ(session.firstLine(), QStringLiteral("File contains 2"));
    EXPECT_EQ(session.secondLine(), QStringLiteral("downloadable commands"));

    rig.prompts.numbers.push_back(10);
    const qint64 before = rig.clock.nowMs();
    session.downloadFile();
    EXPECT_EQ(rig.wire(), QByteArray("64 0A 00 02 00 0D "
                                     "E8 03 FA 00 00 00 0C FE FF FF 4B 00 00 00 "
                                     "00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                                     "6E 0D"));
    EXPECT_GE(rig.clock.nowMs() - before, 4 * 100); // (2 + 2) x 100 ms
    EXPECT_EQ(rig.sim.program(10).size(), 2u);
    EXPECT_EQ(rig.prompts.numberDialogs.front().title, QStringLiteral("Program Destination"));
    EXPECT_EQ(rig.prompts.numberDialogs.front().initial, 1);
    EXPECT_FALSE(session.fileSelected());
}

TEST(DownloadSession, NeedsANewSelectionAndRefreshesEvenWhenCancelled)
{
    ProgramRig rig;
    QTemporaryDir dir;
    DownloadSession session(rig.exchange, rig.prompts, rig.host);
    session.downloadFile();
    ASSERT_EQ(rig.prompts.shown.size(), 1);
    EXPECT_EQ(rig.prompts.shown[0].text, QStringLiteral("Please select a file first!"));
    EXPECT_EQ(rig.prompts.shown[0].caption, QStringLiteral("DownLoad to Controller"));
    EXPECT_TRUE(rig.wire().isEmpty());

    rig.prompts.fileNames.push_back(TempFiles::write(dir, "a.dat", "Pause\r\nPause\r\nPause\r\nPause\r\nPause\r\n"));
    rig.prompts.fileNames.push_back(TempFiles::write(dir, "b.dat", "Move,1\r\nMove,2\r\nMove,3\r\n"));
    rig.prompts.fileNames.push_back(TempFiles::write(dir, "none.dat", "Status, 1\r\n"));
    session.selectFile();
    session.selectFile();
    session.selectFile(); // no step: B stays selected
    EXPECT_EQ(session.firstLine(), QStringLiteral("File contains 3"));
    session.downloadFile(); // number dialog cancelled
    EXPECT_EQ(rig.wire(), QByteArray("6E 0D"));
    EXPECT_FALSE(session.fileSelected());
}

TEST(DownloadSession, RefusedFilesKeepThePreviousSelection)
{
    ProgramRig rig;
    QTemporaryDir dir;
    DownloadSession session(rig.exchange, rig.prompts, rig.host);
    rig.prompts.fileNames.push_back(TempFiles::write(dir, "a.dat", "Move,1\r\n"));
    rig.prompts.fileNames.push_back(dir.filePath(QStringLiteral("missing.dat")));
    rig.prompts.fileNames.push_back(TempFiles::write(dir, "far.dat", "Pause\r\nMove,0,0,90000000\r\n"));
    for (int i = 0; i < 3; ++i)
        session.selectFile();
    ASSERT_EQ(rig.prompts.shown.size(), 2);
    EXPECT_EQ(rig.prompts.shown[0].text, QStringLiteral("Can not load file, please check what is wrong!"));
    EXPECT_EQ(rig.prompts.shown[1].text, QStringLiteral("Line 2 moves beyond the controller's range (more than 85899345 "
                                                        "µm from the origin). Nothing has been loaded."));
    EXPECT_EQ(rig.prompts.shown[1].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(session.steps(), (std::vector<StepValues>{{1000, 25, 0, 0}}));
    EXPECT_TRUE(session.fileSelected());
}

TEST(DownloadSession, AFileLeavingTheTravelLimitsKeepsThePreviousSelection)
{
    ProgramRig rig;
    QTemporaryDir dir;
    rig.host.limits.setRange(2, {-5000 * 25, std::nullopt});
    DownloadSession session(rig.exchange, rig.prompts, rig.host);
    rig.prompts.fileNames.push_back(TempFiles::write(dir, "a.dat", "Move,0,0,-5000\r\n"));
    rig.prompts.fileNames.push_back(TempFiles::write(dir, "deep.dat", "Pause\r\nMove,0,0,-6000\r\n"));
    session.selectFile();
    session.selectFile();
    ASSERT_EQ(rig.prompts.shown.size(), 1);
    EXPECT_EQ(rig.prompts.shown[0].text,
              QStringLiteral("Line 2 moves to Z = -6000 µm, below the Z floor of -5000 µm. Nothing has been loaded."));
    EXPECT_EQ(session.steps(), (std::vector<StepValues>{{1000, 0, 0, -125000}}));
}

struct ExecuteRig : ProgramRig
{
    ExecuteRig()
        : session(exchange, prompts, host)
    {
        store(3, {{1000, 2500, 0, 0}, {}, {1000, 5000, 0, 0}});
    }
    ExecuteSession session;
};

TEST(ExecuteSession, SelectProgramReadsTheStepCount)
{
    ExecuteRig rig;
    rig.prompts.numbers.push_back(3);
    rig.session.selectProgram();
    EXPECT_EQ(rig.wire(), QByteArray("75 03 00 0D"));
    EXPECT_EQ(rig.host.selected, 3);

    rig.prompts.numbers.push_back(7);
    rig.session.selectProgram();
    EXPECT_EQ(rig.host.selected, -1);
    EXPECT_EQ(rig.prompts.shown.back().text,
              QStringLiteral("You have selected a program without any content, please select Again!"));

    rig.host.selected = 3;
    rig.session.selectProgram(); // Cancel
    EXPECT_EQ(rig.host.selected, -1);
    EXPECT_EQ(rig.wire(), QByteArray("75 07 00 0D"));
}

TEST(ExecuteSession, RunsInEitherModeAndWindsUp)
{
    for (bool absolute : {true, false}) {
        ExecuteRig rig;
        rig.host.selected = 3;
        rig.link.setMessagePump([&rig] {
            // The operator answers the pause step with Continue.
            if (rig.sim.pausedInProgram()) {
                rig.prompts.answers.push_back(Prompts::Answer::Yes);
                rig.session.continueRun();
            } else {
                rig.port.waitForData(1000);
            }
            return true;
        });
        EXPECT_EQ(rig.session.execute(absolute), LinkStatus::Ok);
        const QByteArray mode = absolute ? "61 0D " : "62 0D ";
        EXPECT_TRUE(rig.wire().startsWith(mode + "6B 03 00 0D 65 0D 6E 0D 63 0D 56 E8 03 0D"));
        EXPECT_EQ(rig.host.position.x, absolute ? 5000 : 7500);
        EXPECT_EQ(rig.host.log, (QStringList{"position", "marker", "restore"}));
        EXPECT_EQ(rig.host.selected, -1);
        EXPECT_TRUE(rig.session.idle());
        EXPECT_FALSE(rig.session.running());
    }
}

// The controller does not know the travel limits: a relative run while one
// is set is asked about first, and No sends nothing.
TEST(ExecuteSession, ARelativeRunWithTravelLimitsIsAskedFirst)
{
    struct Case
    {
        bool absolute;
        bool limits;
        Prompts::Answer answer;
        int asked;
        QByteArray startsWith;
    };
    const Case cases[] = {
        {false, true, Prompts::Answer::No, 1, ""},
        {false, true, Prompts::Answer::Yes, 1, "62 0D 6B 04 00 0D"},
        {true, true, Prompts::Answer::No, 0, "61 0D 6B 04 00 0D"},
        {false, false, Prompts::Answer::No, 0, "62 0D 6B 04 00 0D"},
    };
    for (const Case& c : cases) {
        ExecuteRig rig;
        rig.store(4, {{1000, 2500, 0, 0}});
        if (c.limits)
            rig.host.limits.setRange(0, {std::nullopt, 100 * 25});
        rig.host.selected = 4;
        rig.prompts.answers.push_back(c.answer);
        rig.link.setMessagePump([&rig] {
            rig.port.waitForData(1000);
            return true;
        });
        EXPECT_EQ(rig.session.execute(c.absolute), LinkStatus::Ok);
        EXPECT_EQ(rig.prompts.shown.size(), c.asked);
        const QByteArray wire = rig.wire();
        EXPECT_TRUE(wire.startsWith(c.startsWith)) << wire.constData();
        if (c.startsWith.isEmpty()) {
            EXPECT_TRUE(wire.isEmpty());
            EXPECT_TRUE(rig.session.declined());
            EXPECT_EQ(rig.host.selected, 4); // still selected: nothing ran
            EXPECT_EQ(rig.prompts.shown[0].text, ExecuteSession::relativeQuestion.arg(4));
            EXPECT_EQ(rig.prompts.shown[0].buttons, Prompts::Buttons::YesNo);
        }
    }
}

TEST(ExecuteSession, HaltSendsItsSequenceAndTheRunWindsUp)
{
    ExecuteRig rig;
    rig.host.selected = 3;
    rig.host.velocity = 700;
    bool refusalsChecked = false;
    rig.link.setMessagePump([&] {
        if (!refusalsChecked) {
            // During the run: Select Program, Exit and a second Execute are refused.
            refusalsChecked = true;
            rig.session.selectProgram();
            EXPECT_FALSE(rig.session.exit());
            EXPECT_EQ(rig.session.execute(true), LinkStatus::Ok);
            rig.wire();
            rig.session.halt();
        }
        return true;
    });
    rig.session.execute(true);
    ASSERT_EQ(rig.prompts.shown.size(), 2);
    EXPECT_EQ(rig.prompts.shown[0].text, ExecuteSession::busySelectText);
    EXPECT_EQ(rig.prompts.shown[1].text, ExecuteSession::busyExitText);
    EXPECT_TRUE(rig.prompts.numberDialogs.isEmpty());
    EXPECT_EQ(rig.wire(), QByteArray("56 01 00 0D 65 0D 03 0D 65 0D 6E 0D 63 0D 56 BC 02 0D"));
    EXPECT_EQ(rig.sim.runningProgram(), 0);
    EXPECT_TRUE(rig.session.idle());
}

TEST(ExecuteSession, IdleButtons)
{
    ExecuteRig rig;
    rig.session.execute(true);
    EXPECT_EQ(rig.prompts.shown.back().text, ExecuteSession::noProgramText);
    EXPECT_EQ(rig.wire(), QByteArray("56 E8 03 0D")); // the velocity is still restored
    rig.session.continueRun();
    rig.session.halt();
    EXPECT_TRUE(rig.wire().isEmpty());
    EXPECT_EQ(rig.prompts.shown.size(), 1);
    EXPECT_TRUE(rig.session.exit());
    EXPECT_EQ(rig.wire(), QByteArray("61 0D"));
}

TEST(ExecuteSession, NoAnswerToTheModeCommandAbandonsTheRun)
{
    qx410sim::Faults silent;
    silent.silent = true;
    ProgramRig rig(silent);
    ExecuteSession session(rig.exchange, rig.prompts, rig.host);
    rig.host.selected = 3;
    rig.prompts.answers.push_back(Prompts::Answer::Yes); // reset communication
    EXPECT_EQ(session.execute(true), LinkStatus::Recovered);
    EXPECT_EQ(rig.wire(), QByteArray("61 0D")); // no run command, nothing after
    ASSERT_EQ(rig.prompts.shown.size(), 2);
    EXPECT_EQ(rig.prompts.shown[1].text, ExecuteSession::notStartedText.arg(3));
    EXPECT_TRUE(rig.host.log.isEmpty());
    EXPECT_EQ(rig.host.selected, 3);
    EXPECT_TRUE(session.idle());
}

TEST(ExecuteSession, ContinueAfterTheProgramEndedSendsNothing)
{
    ExecuteRig rig;
    rig.store(5, {{1000, 2500, 0, 0}});
    rig.host.selected = 5;
    bool asked = false;
    rig.link.setMessagePump([&] {
        if (!asked) {
            // The program ends while the question is open.
            asked = true;
            rig.clock.advanceTo(rig.clock.nowMs() + 60'000);
            rig.prompts.answers.push_back(Prompts::Answer::Yes);
            rig.session.continueRun();
        }
        return true;
    });
    EXPECT_EQ(rig.session.execute(true), LinkStatus::Ok);
    EXPECT_EQ(rig.prompts.shown.size(), 1);
    EXPECT_FALSE(rig.wire().contains("65 0D"));
}

// A transfer the link gave up on part way says so once the operator has
// reset communication.
TEST(ProgramSessions, ATransferCutShortSaysItFailed)
{
    {
        qx410sim::Faults silent;
        silent.silent = true;
        silent.afterCommands = 2; // after the store and its refresh
        ProgramRig rig(silent);
        QTemporaryDir dir;
        rig.store(1, kThreeSteps);
        rig.prompts.answers.push_back(Prompts::Answer::Yes);
        rig.prompts.fileNames.push_back(dir.filePath(QStringLiteral("out.dat")));
        UploadSession(rig.exchange, rig.prompts).upload(1);
        EXPECT_EQ(rig.prompts.shown.back().text, ProgramTexts::uploadFailedText.arg(1));
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }
    {
        ProgramRig rig;
        QTemporaryDir dir;
        DownloadSession session(rig.exchange, rig.prompts, rig.host);
        session.load(TempFiles::write(dir, "a.dat", "Pause\r\nPause\r\nPause\r\nPause\r\nPause\r\n"));
        rig.port.vanishAt(rig.clock.nowMs() + 250); // during the third step
        rig.prompts.answers = {Prompts::Answer::Yes, Prompts::Answer::Yes};
        rig.prompts.numbers.push_back(2);
        session.downloadFile();
        EXPECT_EQ(rig.prompts.shown.back().text, ProgramTexts::downloadFailedText.arg(2));
    }
}

// A step count no controller sends ends the exchange at once and is said.
TEST(ProgramExchange, AStepCountOutOfRangeIsABadAnswerAtOnce)
{
    qx410sim::Faults badCount;
    badCount.badCount = true;
    badCount.afterCommands = 2;
    ProgramRig rig(badCount);
    rig.store(1, kThreeSteps);
    const qint64 before = rig.clock.nowMs();
    std::vector<StepValues> steps;
    EXPECT_EQ(rig.exchange.upload(1, &steps), LinkStatus::BadAnswer);
    EXPECT_LT(rig.clock.nowMs() - before, 100);
    EXPECT_EQ(rig.exchange.announcedCount(), -1);
    EXPECT_EQ(rig.link.lastError(), ProgramExchange::badCountText.arg(-1).arg(1));
    Position at;
    EXPECT_EQ(rig.control.queryPosition(&at), LinkStatus::Ok); // nothing of the answer left behind

    // The dialogs say it; Select Program selects nothing.
    rig.prompts.numbers.push_back(1);
    ExecuteSession(rig.exchange, rig.prompts, rig.host).selectProgram();
    EXPECT_EQ(rig.host.selected, -1);
    QTemporaryDir dir;
    rig.prompts.fileNames.push_back(dir.filePath(QStringLiteral("out.dat")));
    UploadSession(rig.exchange, rig.prompts).upload(1);
    ASSERT_EQ(rig.prompts.shown.size(), 2);
    for (const auto& shown : rig.prompts.shown)
        EXPECT_EQ(shown.text, rig.link.lastError());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

struct RecordingProgress : ProgramProgress
{
    void started(Transfer transfer, int program, int total) override
    {
        log << QStringLiteral("%1 %2 %3").arg(QLatin1String(transfer == Transfer::Store ? "store" : "read")).arg(program).arg(total);
    }
    void advanced(int done) override { log << QString::number(done); }
    void finished() override { log << QStringLiteral("end"); }
    QStringList log;
};

TEST(ProgramExchange, TellsTheProgressOfEachStep)
{
    ProgramRig rig;
    RecordingProgress progress;
    rig.exchange.setProgress(&progress);
    rig.exchange.store(6, kThreeSteps);
    rig.exchange.upload(6, nullptr);
    rig.exchange.upload(7, nullptr); // empty: nothing to tell
    EXPECT_EQ(progress.log, (QStringList{"store 6 3", "1", "2", "3", "end", "read 6 3", "1", "2", "3", "end"}));
    EXPECT_EQ(ProgramProgress::text(ProgramProgress::Transfer::Store, 6, 2, 3), QStringLiteral("Storing program 6: step 2 of 3"));
}

TEST(UploadSession, WritesTheCommandFile)
{
    ProgramRig rig;
    QTemporaryDir dir;
    rig.store(1, kThreeSteps);
    const QString path = dir.filePath(QStringLiteral("out.dat"));
    rig.prompts.fileNames.push_back(path);
    UploadSession(rig.exchange, rig.prompts).upload(1);
    EXPECT_EQ(rig.wire(), QByteArray("75 01 00 0D"));
    EXPECT_EQ(TempFiles::read(path), QByteArray("Low,  1000\r\nMove, 10, -20, 3\r\nMove, 0, 0, 0\r\nPause  \r\n"));
    EXPECT_EQ(rig.prompts.fileDialogs.front().filter, QStringLiteral("Qx410 Files (*.dat);;All Files (*)"));
    EXPECT_TRUE(rig.prompts.shown.isEmpty());
}

TEST(UploadSession, UnwritableFileSendsNothing)
{
    ProgramRig rig;
    rig.prompts.fileNames.push_back(QStringLiteral("/nonexistent/dir/out.dat"));
    UploadSession(rig.exchange, rig.prompts).upload(1);
    EXPECT_TRUE(rig.wire().isEmpty());
    ASSERT_EQ(rig.prompts.shown.size(), 1);
    EXPECT_EQ(rig.prompts.shown[0].text, QStringLiteral("Can not open file to write, please make sure the file is valid!"));
    EXPECT_EQ(rig.prompts.shown[0].icon, Prompts::Icon::None);
}

TEST(ProgramUpload, InterruptedUploadLeavesTheOldFile)
{
    qx410sim::Faults faults;
    faults.shortReplies = true; // the answer breaks off half way
    faults.afterCommands = 2;   // after the store and its refresh
    ProgramRig rig(faults);
    QTemporaryDir dir;
    rig.store(2, std::vector<StepValues>(40, StepValues{1000, 25, 25, 25}));
    const QString path = TempFiles::write(dir, "keep.dat", "Move, 1, 2, 3\r\n");
    rig.link.setRecoveryEnabled(false);
    ProgramUpload upload(rig.exchange);
    const qint64 before = rig.clock.nowMs();
    EXPECT_EQ(upload.run(2, path), ProgramUpload::Result::NoAnswer);
    // The wait for the missing steps ends 10 s after the last byte.
    EXPECT_LE(rig.clock.nowMs() - before, SerialLink::replyBoundMs);
    EXPECT_EQ(TempFiles::read(path), QByteArray("Move, 1, 2, 3\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.dat")});
}

TEST(ProgramRoundTrip, DownloadUploadDownloadOnTheController)
{
    ProgramRig rig;
    QTemporaryDir dir;
    DownloadSession first(rig.exchange, rig.prompts, rig.host);
    first.load(TempFiles::write(dir, "in.dat", "High, 1000\r\nMove,10,-20,3\r\nPause\r\nLow, 40\r\nMove,-1,0,7\r\n"));
    rig.prompts.numbers.push_back(4);
    first.downloadFile();
    const auto stored = rig.sim.program(4);

    const QString path = dir.filePath(QStringLiteral("back.dat"));
    ASSERT_EQ(ProgramUpload(rig.exchange).run(4, path), ProgramUpload::Result::Written);
    rig.host.velocity = 5; // another velocity setting: the file carries its own
    DownloadSession second(rig.exchange, rig.prompts, rig.host);
    second.load(path);
    rig.prompts.numbers.push_back(5);
    second.downloadFile();
    EXPECT_EQ(rig.sim.program(5), stored);
}

} // namespace
