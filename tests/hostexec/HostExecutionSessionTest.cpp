#include "ExecRig.h"
#include "HostExecutionSession.h"

#include <gtest/gtest.h>

namespace {

using Answer = Prompts::Answer;

struct SessionRig : ExecRig
{
    SessionRig()
        : session(moves, prompts)
    {
    }
    // Selects a file of these lines.
    void select(const QStringList& lines)
    {
        prompts.fileNames.push_back(file(lines));
        session.selectFile();
        port.written.clear();
    }
    QStringList texts() const
    {
        QStringList list;
        for (const auto& s : prompts.shown)
            list << s.text;
        return list;
    }
    HostExecutionSession session;
};

TEST(HostExecutionSession, SelectFileCountsEveryLineAndACancelledChooserCountsTheSameFileAgain)
{
    SessionRig r;
    EXPECT_EQ(r.session.stepsText(), QString());
    r.select({"High, 1000", "Move, 1, 2, 3", "Status, 1,2,3", "Pause ", "Move, 0, 0, 0"});
    EXPECT_EQ(r.session.stepsText(), QStringLiteral("5"));
    EXPECT_TRUE(r.session.fileSelected());
    ASSERT_EQ(r.prompts.fileDialogs.size(), 1);
    EXPECT_EQ(r.prompts.fileDialogs[0].filter, QStringLiteral("Qx410 Files (*.dat);;All Files (*.*)"));

    r.file({"Low, 1"}); // the same name, now one line
    r.session.selectFile(); // cancelled
    EXPECT_EQ(r.session.stepsText(), QStringLiteral("1"));
    EXPECT_TRUE(r.port.written.isEmpty());
}

TEST(HostExecutionSession, AFileThatCannotBeCountedLeavesTheStepsAsTheyWere)
{
    SessionRig r;
    r.select({"Low, 1", "Low, 2"});
    r.prompts.fileNames.push_back(r.folder.filePath(QStringLiteral("missing.dat")));
    r.session.selectFile();
    EXPECT_EQ(r.session.stepsText(), QStringLiteral("2"));
    EXPECT_EQ(r.texts(), QStringList{"Can not load file, please check what is wrong!"});
}

TEST(HostExecutionSession, ExecuteWithoutAFileWarnsAndSendsTheVelocityAgainLoopOnlyWarns)
{
    SessionRig r;
    r.session.executeOnce();
    r.session.loop();
    EXPECT_EQ(r.texts(), (QStringList{HostExecutionSession::noProgramText, HostExecutionSession::noProgramText}));
    EXPECT_EQ(r.prompts.shown[0].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(r.port.written, restoreBytes());
}

TEST(HostExecutionSession, AfterHaltTheNextStartAsksAndYesRunsFromTheFirstLineNoRunsNothing)
{
    SessionRig r;
    r.select({"Move, 1000, 0, 0", "Move, 2000, 0, 0", "Move, 3000, 0, 0"});
    r.duringWait = [&] {
        if (r.port.written.contains(Commands::move(Position{50000, 0, 0})))
            r.session.halt();
    };
    r.session.executeOnce();
    EXPECT_TRUE(r.session.halted());
    EXPECT_TRUE(r.session.idle());
    r.duringWait = nullptr;

    r.port.written.clear();
    r.prompts.answers = {Answer::No};
    r.session.executeOnce();
    EXPECT_EQ(r.port.written, restoreBytes());
    EXPECT_TRUE(r.session.halted());

    r.port.written.clear();
    r.prompts.answers = {Answer::Yes};
    r.session.executeOnce();
    EXPECT_FALSE(r.session.halted());
    EXPECT_TRUE(r.port.written.startsWith(Commands::move(Position{25000, 0, 0})));
    EXPECT_TRUE(r.port.written.contains(Commands::move(Position{75000, 0, 0})));
    EXPECT_EQ(r.texts().count(HostExecutionSession::haltedQuestionText), 2);
    EXPECT_EQ(r.prompts.shown.last().icon, Prompts::Icon::Question);
}

TEST(HostExecutionSession, StartsAndExitDuringARunAreRefusedAndTheRunCarriesOn)
{
    SessionRig r;
    r.select({"Move, 1000, 0, 0", "Move, 2000, 0, 0"});
    const QString later = r.file({"Low, 1", "Low, 2", "Low, 3"}, QStringLiteral("later.dat"));
    bool exitAllowed = true;
    bool pressed = false;
    r.duringWait = [&] {
        if (pressed)
            return;
        pressed = true;
        r.session.executeOnce();
        r.session.loop();
        exitAllowed = r.session.mayExit();
        // A new file is for later runs; the suspended one reads on from its own.
        r.prompts.fileNames.push_back(later);
        r.session.selectFile();
    };
    r.session.executeOnce();
    EXPECT_EQ(r.session.stepsText(), QStringLiteral("3"));
    EXPECT_EQ(r.session.fileName(), later);
    EXPECT_FALSE(exitAllowed);
    EXPECT_EQ(r.texts(), (QStringList{HostExecutionSession::inProgressText, HostExecutionSession::inProgressText,
                                      HostExecutionSession::cannotExitText}));
    EXPECT_EQ(r.port.written, ExecRig::moveBytes(25000, 0, 0) + ExecRig::moveBytes(50000, 0, 0) + restoreBytes());
    EXPECT_TRUE(r.session.mayExit());
}

TEST(HostExecutionSession, ExitIsAllowedOnceHaltHasEndedTheRun)
{
    SessionRig r;
    r.select({"Move, 1000, 0, 0"});
    bool exitAllowed = false;
    r.duringWait = [&] {
        r.session.halt(); // once: the move's wait ends with it
        exitAllowed = r.session.mayExit();
    };
    r.session.executeOnce();
    EXPECT_TRUE(exitAllowed);
    EXPECT_TRUE(r.texts().isEmpty());
}

TEST(HostExecutionSession, NoAtAPauseHaltsAndTheFollowingLoopAsksTheHaltedQuestion)
{
    SessionRig r;
    r.select({"Pause ", "Move, 1, 0, 0"});
    r.prompts.answers = {Answer::No};
    r.session.executeOnce();
    EXPECT_EQ(r.port.written, haltBytes() + restoreBytes());
    EXPECT_TRUE(r.session.halted());
    r.prompts.answers = {Answer::No};
    r.session.loop();
    EXPECT_EQ(r.texts().last(), HostExecutionSession::haltedQuestionText);
    EXPECT_EQ(r.port.written, haltBytes() + restoreBytes()); // No: nothing more
}

} // namespace
