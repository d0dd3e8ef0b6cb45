// Move Along Path 1 and 2 from the main toolbar of a real main window on the
// in-process simulated controller.

#include "CMainFrame.h"
#include "Commands.h"
#include "ControlLayer.h"
#include "Controller.h"
#include "MainActions.h"
#include "PathRunner.h"
#include "Printing.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct PathWindow
{
    PathWindow()
        : port(controller, clock)
        , link(port, clock, prompts, serial)
        , control(link)
        , ops(link, clock)
    {
        link.open();
        link.setMessagePump([this] {
            if (duringWait)
                duringWait();
            port.waitForData(1000);
            return true;
        });
        frame = std::make_unique<CMainFrame>(state, ops, serial, prompts);
        frame->initialExchange();
        paths = std::make_unique<PathRunner>(state, frame->control(), viewPrompts);
        QObject::connect(frame.get(), &CMainFrame::movePathRequested, frame.get(),
                         [this](int path) { paths->moveAlong(path); });
        port.written.clear();
    }

    QString file(const QStringList& lines)
    {
        const QString path = folder.filePath(QStringLiteral("path.dat"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (const QString& line : lines)
            f.write(line.toLatin1() + "\r\n");
        return path;
    }

    QAction* tool(MainActions::Tool t) { return frame->actions().tool(t); }

    QTemporaryDir folder;
    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    ScriptedPrompts viewPrompts;
    SerialSettings serial;
    SerialLink link;
    Controller control;
    ControlLayer ops;
    MainFrameState state;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<PathRunner> paths;
    std::function<void()> duringWait;
};

QByteArray moveBytes(qint32 x)
{
    return Commands::move(Position{x, 0, 0}) + hex("630D630D");
}

TEST(PathRunner, AnUndefinedPathAsksForOneAndSendsNothing)
{
    PathWindow w;
    w.state.path1File = w.file({"Move, 1, 0, 0"}); // path 2 stays undefined
    w.tool(MainActions::MovePath2)->trigger();
    EXPECT_TRUE(w.port.written.isEmpty());
    ASSERT_EQ(w.viewPrompts.shown.size(), 1);
    EXPECT_EQ(w.viewPrompts.shown[0].text, QStringLiteral("Please define path first!"));
    EXPECT_EQ(w.viewPrompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(w.viewPrompts.shown[0].icon, Prompts::Icon::None);
    EXPECT_EQ(w.viewPrompts.shown[0].buttons, Prompts::Buttons::Ok);
}

TEST(PathRunner, ASpeedLineThenMovesRunsThemAllWithoutRestoringTheVelocity)
{
    PathWindow w;
    w.state.path1File = w.file({"High, 1000", "Move, 10, 0, 0", "Status, 1,2,3", "Move, 20, 0, 0"});
    w.tool(MainActions::MovePath1)->trigger();
    EXPECT_EQ(w.port.written, hex("56E8830D") + moveBytes(250) + moveBytes(500));
    EXPECT_EQ(w.ops.state().velocity, 1000); // the settings stay as they were
    EXPECT_EQ(w.ops.state().resolution, ControlState::lowResolution);
    EXPECT_TRUE(w.tool(MainActions::MovePath1)->isEnabled());
}

TEST(PathRunner, StopEndsOnlyTheMoveInProgress)
{
    PathWindow w;
    w.state.path2File = w.file({"Move, 1000, 0, 0", "Move, 2000, 0, 0", "Move, 3000, 0, 0"});
    bool greyed = false;
    w.duringWait = [&] {
        if (w.port.written.endsWith(Commands::move(Position{50000, 0, 0}))) {
            greyed = !w.tool(MainActions::MovePath1)->isEnabled() && w.tool(MainActions::Stop)->isEnabled();
            w.tool(MainActions::Stop)->trigger();
        }
    };
    w.tool(MainActions::MovePath2)->trigger();
    EXPECT_TRUE(greyed);
    EXPECT_TRUE(w.port.written.startsWith(moveBytes(25000) + Commands::move(Position{50000, 0, 0})
                                          + Commands::interrupt()));
    EXPECT_TRUE(w.port.written.endsWith(moveBytes(75000)));
    EXPECT_EQ(w.port.controllerAt(), (Position{75000, 0, 0}));
}

TEST(PathRunner, PauseYesContinuesNoEndsTheRunAndNeitherLeavesTheToolbarGreyed)
{
    PathWindow w;
    w.state.path1File = w.file({"Pause ", "Low, 5", "Pause ", "Low, 6"});
    w.viewPrompts.answers = {Prompts::Answer::Yes, Prompts::Answer::No};
    w.tool(MainActions::MovePath1)->trigger();
    EXPECT_EQ(w.port.written, hex("650D 5605000D"));
    EXPECT_FALSE(w.ops.state().busy);

    w.port.written.clear();
    w.state.path1File = w.file({"Move, 1, 0, 0", "Pause"});
    w.viewPrompts.answers = {Prompts::Answer::Yes};
    w.tool(MainActions::MovePath1)->trigger();
    EXPECT_EQ(w.port.written, moveBytes(25) + hex("650D"));
    EXPECT_FALSE(w.ops.state().busy); // nothing moves, so the controls are free again
    EXPECT_TRUE(w.tool(MainActions::MovePath1)->isEnabled());
    EXPECT_FALSE(w.tool(MainActions::Stop)->isEnabled());
}

TEST(PathRunner, AFileThatCannotBeLoadedIsReportedByTheView)
{
    PathWindow w;
    w.state.path1File = w.folder.filePath(QStringLiteral("gone.dat"));
    w.tool(MainActions::MovePath1)->trigger();
    EXPECT_TRUE(w.port.written.isEmpty());
    ASSERT_EQ(w.viewPrompts.shown.size(), 1);
    EXPECT_EQ(w.viewPrompts.shown[0].text, QStringLiteral("Can not load file, please check what is wrong!"));
    EXPECT_EQ(w.viewPrompts.shown[0].icon, Prompts::Icon::Exclamation);
}

} // namespace
