#include "CMainFrame.h"
#include "CQx410View.h"
#include "Commands.h"
#include "ControlLayer.h"
#include "Controller.h"
#include "HostExecutionSession.h"
#include "MainActions.h"
#include "ManualMovePanel.h"
#include "PaneBar.h"
#include "PathRunner.h"
#include "Printing.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "Units.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// The main window on the in-process simulated controller, offscreen.
struct Window
{
    Window()
        : port(controller, clock)
        , link(port, clock, prompts, serial)
        , control(link)
        , ops(link, clock)
    {
        link.open();
        frame = std::make_unique<CMainFrame>(state, ops, serial, prompts);
        frame->initialExchange();
        port.written.clear();
    }

    // During a move's wait, runs `during` once, then lets the controller finish.
    void pumpDuringMove(std::function<void()> during)
    {
        link.setMessagePump([this, during]() mutable {
            if (during) {
                during();
                during = nullptr;
            }
            port.waitForData(1000);
            return true;
        });
    }

    QAction* tool(MainActions::Tool t) { return frame->actions().tool(t); }

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings serial;
    SerialLink link;
    Controller control;
    ControlLayer ops;
    MainFrameState state;
    std::unique_ptr<CMainFrame> frame;
};

QStringList texts(const QList<QAction*>& actions)
{
    QStringList list;
    for (QAction* a : actions)
        list << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return list;
}

TEST(CMainFrame, MenusCarryTheirCaptions)
{
    Window w;
    EXPECT_EQ(texts(w.frame->menuBar()->actions()),
              (QStringList{"&File", "&Robotics", "&Setup", "&View", "&Help"}));
    const QList<QMenu*>& menus = w.frame->actions().menus();
    EXPECT_EQ(texts(menus[0]->actions()), QStringList{"E&xit"});
    EXPECT_EQ(texts(menus[1]->actions()), (QStringList{"&Host", "&Controller"}));
    EXPECT_EQ(texts(menus[1]->actions()[0]->menu()->actions()),
              (QStringList{"&Capture Commands\tCtrl+C", "&Execute Commands\tCtrl+E"}));
    EXPECT_EQ(texts(menus[1]->actions()[1]->menu()->actions()),
              (QStringList{"&Download Programs", "&Execute Programs", "&Upload Programs"}));
    EXPECT_EQ(texts(menus[2]->actions()), (QStringList{"&Velocity", "&Resolution", "|", "&Communications", "|", "&Hardware", "|", "&Travel Limits"}));
    EXPECT_EQ(texts(menus[3]->actions()), (QStringList{"&Toolbar", "&Status Bar", "Se&rial Traffic", "|", "&Zoom", "&Multiple"}));
    EXPECT_EQ(texts(menus[4]->actions()), (QStringList{"&Help Topics", "|", "&About Qx410..."}));
}

// The keys the menus show are bound; they do nothing while a move locks the menus.
TEST(CMainFrame, MenuKeysDoWhatTheirItemsDoExceptDuringAMove)
{
    Window w;
    EXPECT_EQ(w.frame->actions().captureCommands->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    w.frame->show();
    w.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.frame.get()));
    QSignalSpy execute(w.frame.get(), &CMainFrame::hostExecutionRequested);
    QSignalSpy help(w.frame.get(), &CMainFrame::helpRequested);
    QTest::keyClick(w.frame.get(), Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(w.frame.get(), Qt::Key_F1);
    EXPECT_EQ(execute.count(), 1);
    EXPECT_EQ(help.count(), 1);
    // From a panel field too, which would take Ctrl+E for the end of its line,
    // and Ctrl+C for copying only while it has selected text.
    QLineEdit* field = w.frame->panel()->field(0);
    field->setFocus();
    field->deselect();
    QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(execute.count(), 2);
    QSignalSpy capture(w.frame->actions().captureCommands, &QAction::triggered);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(capture.count(), 1);
    w.frame->setManualControlsEnabled(false);
    QTest::keyClick(w.frame.get(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(execute.count(), 2);
    w.frame->setManualControlsEnabled(true);
}

TEST(CMainFrame, ToolbarsHoldTheirButtonsWithWideAndNarrowGaps)
{
    Window w;
    const QString wide = QStringLiteral("||||||||||");
    EXPECT_EQ(texts(w.frame->actions().mainToolBar()->actions()).join(QLatin1Char(',')).replace(QStringLiteral("|,"), QStringLiteral("|")),
              QStringList({"Go To Home Position", "Go To Position 1", "Go To Position 2", "Go To Position 3", "Return",
                           wide + "Move Along Path 1", "|Move Along Path 2", wide + "Stop Current Movement",
                           wide + "Update Displayed Coordinates", wide + "Refresh controller display"})
                  .join(QLatin1Char(',')));
    EXPECT_EQ(texts(w.frame->actions().defineToolBar()->actions()).join(QLatin1Char(',')).replace(QStringLiteral("|,"), QStringLiteral("|")),
              QStringList({"Define Home Position", " Define Position1 ", "Define Position 2", " Define Position 3",
                           " Define Previous Position", wide + " Define Path 1", "| Define Path 2"})
                  .join(QLatin1Char(',')));
    EXPECT_EQ(w.tool(MainActions::GoPrevious)->statusTip(), QStringLiteral("Return to the previous position"));
    EXPECT_EQ(w.tool(MainActions::DefinePrevious)->statusTip(), QStringLiteral("Define previous position  coordinates"));
}

TEST(CMainFrame, StartUpTextsAndPanes)
{
    Window w;
    w.ops.state().resolution = ControlState::highResolution;
    w.frame->updatePaneTexts();
    w.frame->updateCaption();
    w.frame->updateConnectionText();
    EXPECT_EQ(w.frame->windowTitle(), QStringLiteral("Qx410 (COM1)"));
    EXPECT_EQ(w.frame->panel()->connectionText(), QStringLiteral("QX-410 is connected via COM1"));
    EXPECT_EQ(w.frame->paneBar()->paneText(0), QStringLiteral("\tRes:   HIGH"));
    EXPECT_EQ(w.frame->paneBar()->paneText(1), QStringLiteral("\tVelocity:   1000"));
    EXPECT_EQ(w.frame->paneBar()->paneText(2), QStringLiteral("\t\tDesired Position:   X"));
    for (int pane : {3, 5, 7})
        EXPECT_EQ(w.frame->paneBar()->paneText(pane), QStringLiteral("\tundefined"));
    EXPECT_EQ(w.frame->panel()->stepSizeText(), QStringLiteral("250"));
}

TEST(CMainFrame, MoveLocksEverythingButStopAndStopEndsIt)
{
    Window w;
    bool menusDisabled = false, barDisabled = false, stopEnabled = false, othersDisabled = false;
    w.pumpDuringMove([&] {
        menusDisabled = true;
        for (QMenu* m : w.frame->actions().menus())
            menusDisabled = menusDisabled && !m->menuAction()->isEnabled();
        barDisabled = !w.frame->paneBar()->isEnabled();
        stopEnabled = w.tool(MainActions::Stop)->isEnabled();
        othersDisabled = !w.tool(MainActions::GoHome)->isEnabled() && !w.frame->panel()->moveButton()->isEnabled()
            && !w.frame->panel()->field(0)->isEnabled();
        w.tool(MainActions::Stop)->trigger();
    });
    w.frame->panel()->field(0)->setText(QStringLiteral("100000"));
    w.frame->panel()->moveButton()->click();
    EXPECT_TRUE(menusDisabled);
    EXPECT_TRUE(barDisabled);
    EXPECT_TRUE(stopEnabled);
    EXPECT_TRUE(othersDisabled);
    EXPECT_TRUE(w.port.written.startsWith(Commands::move(Position{2500000, 0, 0}) + Commands::interrupt()));
    EXPECT_FALSE(w.tool(MainActions::Stop)->isEnabled());
    EXPECT_TRUE(w.tool(MainActions::GoHome)->isEnabled());
    EXPECT_TRUE(w.frame->paneBar()->isEnabled());
    EXPECT_TRUE(w.frame->actions().menus()[0]->menuAction()->isEnabled());
}

TEST(CMainFrame, PanelMoveAndStepsSendTheirTargets)
{
    Window w;
    w.frame->panel()->field(0)->setText(QStringLiteral("100"));
    w.frame->panel()->field(1)->setText(QStringLiteral("-50"));
    w.frame->panel()->field(2)->setText(QStringLiteral("0"));
    w.frame->panel()->moveButton()->click();
    EXPECT_TRUE(w.port.written.startsWith(Commands::move(Position{2500, -1250, 0})));
    EXPECT_EQ(w.frame->panel()->xText(), QStringLiteral("100"));

    w.port.written.clear();
    w.frame->panel()->field(0)->setText(QStringLiteral("9999")); // steps start from the reported position
    w.frame->panel()->setStepSizeText(QStringLiteral("10"));
    w.frame->panel()->stepButton(ManualMoveLogic::Step::Right)->click();
    EXPECT_TRUE(w.port.written.startsWith(Commands::move(Position{2750, -1250, 0})));
    EXPECT_EQ(w.frame->panel()->xText(), QStringLiteral("110"));
}

TEST(CMainFrame, TypedCoordinateBeyondThirtyTwoBitsSendsNothingAndShowsTheRefusal)
{
    Window w;
    w.frame->panel()->field(0)->setText(QStringLiteral("90000000"));
    w.frame->panel()->moveButton()->click();
    EXPECT_TRUE(w.port.written.isEmpty());
    ASSERT_EQ(w.prompts.shown.size(), 1);
    EXPECT_EQ(w.prompts.shown[0].text, QStringLiteral("X = 90000000 µm lies outside the range the controller can carry "
                                                      "(-85899345 to 85899345 µm).\nNothing was sent."));
    EXPECT_EQ(w.prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_FALSE(w.ops.state().busy);
}

// Every way the window asks for a move checks the travel limits before
// anything is sent: the layer's refusal in a warning box, nothing on the
// wire, the current position still the one the controller reported.
struct OutsideLimitsCase
{
    const char* name;
    // Asks for the move; hands back the target it asked for (microsteps).
    std::function<Position(Window&)> ask;
};

void PrintTo(const OutsideLimitsCase& c, std::ostream* os)
{
    *os << c.name;
}

class CMainFrameOutsideLimits : public testing::TestWithParam<OutsideLimitsCase>
{
};

TEST_P(CMainFrameOutsideLimits, RefusesWithTheLayersTextAndSendsNothing)
{
    Window w;
    TravelLimits limits;
    limits.setRange(0, {std::nullopt, 50 * 25}); // X at most 50 µm
    limits.setRange(2, {-100 * 25, std::nullopt}); // the Z floor at -100 µm
    w.ops.setTravelLimits(limits);
    const Position before = w.ops.currentPosition();

    const Position target = GetParam().ask(w);

    EXPECT_TRUE(w.port.written.isEmpty());
    ASSERT_EQ(w.prompts.shown.size(), 1);
    EXPECT_FALSE(w.ops.limitRefusal(target).isEmpty());
    EXPECT_EQ(w.prompts.shown[0].text, w.ops.limitRefusal(target));
    EXPECT_EQ(w.prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(w.prompts.shown[0].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(w.ops.currentPosition(), before);
    EXPECT_FALSE(w.ops.isBusy());
}

INSTANTIATE_TEST_SUITE_P(
    WaysOfAsking, CMainFrameOutsideLimits,
    testing::Values(
        OutsideLimitsCase{"TypedTarget",
                          [](Window& w) {
                              w.frame->panel()->field(0)->setText(QStringLiteral("60"));
                              w.frame->panel()->moveButton()->click();
                              return Position{60 * 25, 0, 0};
                          }},
        OutsideLimitsCase{"StepRight",
                          [](Window& w) {
                              w.frame->panel()->setStepSizeText(QStringLiteral("100"));
                              w.frame->panel()->stepButton(ManualMoveLogic::Step::Right)->click();
                              return Position{100 * 25, 0, 0};
                          }},
        OutsideLimitsCase{"StepCalledWithoutTheButton",
                          [](Window& w) {
                              w.frame->panel()->setStepSizeText(QStringLiteral("200"));
                              w.frame->step(ManualMoveLogic::Step::Up);
                              return Position{0, 0, -200 * 25};
                          }},
        OutsideLimitsCase{"ClickInThePlan",
                          [](Window& w) {
                              w.frame->show();
                              w.frame->resize(w.frame->width(),
                                              w.frame->height() + 600 - w.frame->view()->height());
                              QApplication::processEvents();
                              w.frame->view()->grab();
                              const WorkspaceGeometry& g = w.frame->view()->geometryOfLastPaint();
                              const QPoint right(g.xyField().right() - 10, g.xyField().center().y());
                              QTest::mouseClick(w.frame->view(), Qt::LeftButton, {}, right);
                              return Position{g.xAt(right.x()) * 25, g.rowAt(right.y()) * 25, 0};
                          }},
        OutsideLimitsCase{"StoredPosition",
                          [](Window& w) {
                              w.state.stored[MainFrameState::Position1] = Position{0, 0, -101};
                              w.tool(MainActions::GoPosition1)->trigger();
                              return Position{0, 0, -101 * 25};
                          }}),
    [](const testing::TestParamInfo<OutsideLimitsCase>& info) { return std::string(info.param.name); });

TEST(CMainFrame, ClosingDuringAMoveStopsItThenCloses)
{
    Window w;
    w.frame->show();
    w.pumpDuringMove([&] { w.frame->close(); });
    w.frame->moveTo(Position{2500000, 0, 0});
    EXPECT_TRUE(w.frame->isVisible()); // not while the move's wait was still running
    EXPECT_TRUE(w.port.written.contains(Commands::interrupt()));
    QApplication::processEvents();
    EXPECT_FALSE(w.frame->isVisible());
}

// A close during a command-file run ends the run as its own Halt would (a
// path has only the interrupt; Execute Host Programs the Halt sequence and
// the velocity sent again), sends no further move, and closes the window
// once the run has wound up.
struct CloseCase
{
    const char* name;
    bool hostRun;
    QByteArray afterFirstMove;
};

void PrintTo(const CloseCase& c, std::ostream* os)
{
    *os << c.name;
}

class CMainFrameCloseDuringRun : public testing::TestWithParam<CloseCase>
{
};

TEST_P(CMainFrameCloseDuringRun, EndsTheRunAsItsHaltWouldThenCloses)
{
    const CloseCase& c = GetParam();
    Window w;
    w.frame->show();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("two.dat"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Move, 1000, 0, 0\r\nMove, 2000, 0, 0\r\n");
    f.close();
    ScriptedPrompts runPrompts;
    w.pumpDuringMove([&] {
        w.frame->close();
        w.frame->close(); // a second request cuts nothing short
    });
    if (c.hostRun) {
        HostExecutionSession session(w.frame->control(), runPrompts);
        session.executor().run(file);
    } else {
        PathRunner paths(w.state, w.frame->control(), runPrompts);
        w.state.path1File = file;
        paths.moveAlong(1);
    }
    EXPECT_EQ(w.port.written, Commands::move(Position{25000, 0, 0}) + c.afterFirstMove);
    EXPECT_FALSE(w.ops.state().busy);
    EXPECT_TRUE(w.frame->isVisible()); // closes once the run has left the stack
    QApplication::processEvents();
    EXPECT_FALSE(w.frame->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CMainFrameCloseDuringRun,
    testing::Values(CloseCase{"Path", false, hex("030D 630D630D")},
                    CloseCase{"HostProgram", true, hex("5601000D 650D 030D 630D630D 56E8030D")}),
    [](const testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

TEST(CMainFrame, ViewToolbarHidesAndShowsBothToolbars)
{
    Window w;
    w.frame->show();
    w.frame->actions().toolbar->trigger();
    EXPECT_FALSE(w.frame->actions().mainToolBar()->isVisible());
    EXPECT_FALSE(w.frame->actions().defineToolBar()->isVisible());
    EXPECT_FALSE(w.frame->actions().toolbar->isChecked());
    w.frame->actions().toolbar->trigger();
    EXPECT_TRUE(w.frame->actions().mainToolBar()->isVisible());
    EXPECT_TRUE(w.frame->actions().defineToolBar()->isVisible());
    w.frame->actions().statusBar->trigger();
    EXPECT_FALSE(w.frame->paneBar()->isVisible());
}

TEST(CMainFrame, RightClickOnTheToolbarsOffersNoWayToHideOneAlone)
{
    Window w;
    w.frame->show();
    QToolBar* bar = w.frame->actions().mainToolBar();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), bar->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(bar, &event);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(w.frame->createPopupMenu(), nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(w.frame->actions().defineToolBar()->isVisible());
    EXPECT_TRUE(w.frame->actions().toolbar->isChecked());
}

TEST(CMainFrame, StatusPaneDoubleClicksAskForTheirDialogs)
{
    Window w;
    QSignalSpy resolution(w.frame.get(), &CMainFrame::resolutionDialogRequested);
    QSignalSpy velocity(w.frame.get(), &CMainFrame::velocityDialogRequested);
    emit w.frame->paneBar()->paneDoubleClicked(0);
    emit w.frame->paneBar()->paneDoubleClicked(1);
    emit w.frame->paneBar()->paneDoubleClicked(4);
    emit w.frame->paneBar()->paneDoubleClicked(-1);
    EXPECT_EQ(resolution.count(), 1);
    EXPECT_EQ(velocity.count(), 1);
}

TEST(CMainFrame, UpdateReadsThePositionAndRefreshWaitsForTheCr)
{
    Window w;
    w.tool(MainActions::Update)->trigger();
    w.tool(MainActions::Refresh)->trigger();
    EXPECT_EQ(w.port.written, hex("630D" "6E0D"));
    EXPECT_TRUE(w.prompts.shown.isEmpty());
}

TEST(CMainFrame, ClickInTheMiddleOfTheFieldMovesThereWithZUnchanged)
{
    Window w;
    w.frame->show();
    // Make the client area (the view) exactly 600 pixels high.
    w.frame->resize(w.frame->width(), w.frame->height() + 600 - w.frame->view()->height());
    QApplication::processEvents();
    ASSERT_EQ(w.frame->view()->height(), 600);
    w.frame->view()->grab();
    w.ops.state().current.z = 1234;
    const QPoint middle = w.frame->view()->geometryOfLastPaint().xyField().center();
    const int x = (middle.x() - 67) * 50 - 12700;
    const int y = (middle.y() - 22) * 50 - 12700;
    QTest::mouseClick(w.frame->view(), Qt::LeftButton, {}, middle);
    EXPECT_TRUE(w.port.written.startsWith(Commands::move(Position{x * 25, y * 25, 1234})));
    EXPECT_EQ(w.frame->panel()->xText(), QString::number(x));
    // After the move the marker stands where the controller reports.
    EXPECT_EQ(w.ops.state().lastDrawn, (Position{x * 25, y * 25, 1234}));
}

TEST(CMainFrame, StopDuringAMoveLeavesTheMarkerAtTheStoppingPoint)
{
    Window w;
    w.frame->show();
    w.frame->view()->grab();
    w.pumpDuringMove([&] {
        w.clock.sleepMs(300); // 300 µm into a 10 mm move
        w.tool(MainActions::Stop)->trigger();
    });
    w.frame->moveTo(Position{250000, 0, 0});
    EXPECT_TRUE(w.port.written.contains(Commands::interrupt()));
    EXPECT_GT(w.ops.state().current.x, 0);
    EXPECT_LT(w.ops.state().current.x, 250000);
    EXPECT_EQ(w.ops.state().lastDrawn, w.ops.state().current);
    EXPECT_EQ(w.frame->panel()->xText(), QString::number(Units::microstepsToMicrons(w.ops.state().current).x));
}

// Pixels of the marker colour in the XY field, grouped by the column of the
// marker's vertical stroke.
QSet<int> markerColumns(CQx410View* view)
{
    const QImage& plan = view->plan();
    const qreal r = plan.devicePixelRatio();
    const QRect field = view->geometryOfLastPaint().xyField();
    QSet<int> columns;
    for (int x = field.left(); x <= field.right(); ++x) {
        int run = 0;
        for (int y = field.top(); y <= field.bottom(); ++y) {
            run = plan.pixel(static_cast<int>(x * r), static_cast<int>(y * r)) == CQx410View::markerColour.rgb() ? run + 1 : 0;
            if (run == 12) // the vertical stroke is 12 pixels long
                columns.insert(x);
        }
    }
    return columns;
}

TEST(CMainFrame, RepaintDuringAStoppedMoveLeavesOneMarkerWhereTheManipulatorStopped)
{
    Window w;
    w.frame->show();
    w.frame->view()->grab();
    const QPoint far = w.frame->view()->geometryOfLastPaint().xyField().bottomRight() - QPoint(5, 5);
    w.pumpDuringMove([&] {
        w.clock.sleepMs(300);
        w.frame->resize(w.frame->width() + 40, w.frame->height() + 40); // a full repaint mid-move
        QApplication::processEvents();
        w.frame->view()->grab();
        w.tool(MainActions::Stop)->trigger();
    });
    QTest::mouseClick(w.frame->view(), Qt::LeftButton, {}, far);
    EXPECT_TRUE(w.port.written.contains(Commands::interrupt()));
    EXPECT_GT(w.ops.state().current.x, 0); // stopped short of the target
    const int stoppedAt = w.frame->view()->geometryOfLastPaint().marker(w.ops.state().current).vertical.left();
    EXPECT_EQ(markerColumns(w.frame->view()), QSet<int>{stoppedAt});
}

// The keyboard jog: from the plan or the panel (not a text field or the
// step-size box), through the step buttons' step, never during a move. The
// step size is 10 um (250 microsteps); the manipulator stands at 0, 0, 0.
enum class Focus { Plan, StepButton, MoveButton, Field, StepSizeBox };

struct JogCase
{
    const char* name;
    Focus focus;
    int key;
    Qt::KeyboardModifiers modifiers;
    bool busy;
    std::optional<Position> target;
    bool limited = false; // X may not pass 5 um
};

void PrintTo(const JogCase& c, std::ostream* os)
{
    *os << c.name;
}

class CMainFrameJogKeys : public testing::TestWithParam<JogCase>
{
};

TEST_P(CMainFrameJogKeys, StepAsTheStepButtonsDo)
{
    const JogCase& c = GetParam();
    Window w;
    w.frame->show();
    w.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.frame.get()));
    ManualMovePanel* panel = w.frame->panel();
    panel->setStepSizeText(QStringLiteral("10"));
    QWidget* focus = nullptr;
    switch (c.focus) {
    case Focus::Plan:
        focus = w.frame->view();
        break;
    case Focus::StepButton:
        focus = panel->stepButton(ManualMoveLogic::Step::Right);
        break;
    case Focus::MoveButton:
        focus = panel->moveButton();
        break;
    case Focus::Field:
        focus = panel->field(1);
        break;
    case Focus::StepSizeBox:
        focus = panel->stepSizeBox();
        break;
    }
    focus->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), focus);
    if (c.limited) {
        TravelLimits limits;
        limits.setRange(0, {std::nullopt, 5 * 25});
        w.ops.setTravelLimits(limits);
    }
    w.ops.state().busy = c.busy;
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(c.key), c.modifiers);
    w.ops.state().busy = false;
    if (c.target) {
        EXPECT_TRUE(w.port.written.startsWith(Commands::move(*c.target))) << w.port.written.toHex().constData();
        return;
    }
    EXPECT_TRUE(w.port.written.isEmpty()) << w.port.written.toHex().constData();
    EXPECT_EQ(w.ops.currentPosition(), (Position{0, 0, 0})); // the next step starts from here
    EXPECT_EQ(w.prompts.shown.size(), c.limited ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CMainFrameJogKeys,
    testing::Values(JogCase{"PlanRight", Focus::Plan, Qt::Key_Right, Qt::NoModifier, false, Position{250, 0, 0}},
                    JogCase{"PlanShiftLeft", Focus::Plan, Qt::Key_Left, Qt::ShiftModifier, false, Position{-2500, 0, 0}},
                    JogCase{"PlanPageUp", Focus::Plan, Qt::Key_PageUp, Qt::NoModifier, false, Position{0, 0, -250}},
                    JogCase{"KeypadPageDown", Focus::Plan, Qt::Key_PageDown, Qt::KeypadModifier, false,
                            Position{0, 0, 250}},
                    JogCase{"StepButtonCtrlUp", Focus::StepButton, Qt::Key_Up, Qt::ControlModifier, false,
                            Position{0, -25, 0}},
                    JogCase{"MoveButtonDown", Focus::MoveButton, Qt::Key_Down, Qt::NoModifier, false, Position{0, 250, 0}},
                    JogCase{"ShiftAndCtrl", Focus::Plan, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier, false,
                            std::nullopt},
                    JogCase{"AltRight", Focus::Plan, Qt::Key_Right, Qt::AltModifier, false, std::nullopt},
                    JogCase{"FieldRight", Focus::Field, Qt::Key_Right, Qt::NoModifier, false, std::nullopt},
                    JogCase{"FieldUp", Focus::Field, Qt::Key_Up, Qt::NoModifier, false, std::nullopt},
                    JogCase{"StepSizeBoxPageDown", Focus::StepSizeBox, Qt::Key_PageDown, Qt::NoModifier, false,
                            std::nullopt},
                    JogCase{"DuringAMove", Focus::Plan, Qt::Key_Right, Qt::NoModifier, true, std::nullopt},
                    JogCase{"BeyondALimit", Focus::Plan, Qt::Key_Right, Qt::NoModifier, false, std::nullopt, true},
                    JogCase{"WithinALimit", Focus::Plan, Qt::Key_Right, Qt::ControlModifier, false, Position{25, 0, 0},
                            true}),
    [](const testing::TestParamInfo<JogCase>& info) { return std::string(info.param.name); });

// Esc is Stop from anywhere in the window, a text field included, with the
// toolbars hidden too; nothing while nothing moves; a dialog keeps its Esc.
TEST(CMainFrame, EscStopsFromAFocusedFieldAndLeavesDialogsTheirs)
{
    Window w;
    w.frame->actions().toolbar->setChecked(false);
    w.frame->show();
    w.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.frame.get()));
    QLineEdit* field = w.frame->panel()->field(0);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(w.port.written.isEmpty());

    // The busy flag held as a path holds it over a Pause line: the fields
    // stay enabled.
    w.ops.busy() = true;
    w.ops.refreshControls();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(w.port.written, Commands::interrupt());
    EXPECT_FALSE(w.ops.state().busy);

    w.ops.busy() = true;
    w.ops.refreshControls();
    QDialog dialog(w.frame.get());
    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(w.port.written, Commands::interrupt());
    EXPECT_TRUE(w.ops.state().busy);
    w.ops.busy() = false;
}

TEST(CMainFrame, HourglassGivesWayWhenTheMoveEnds)
{
    Window w;
    w.frame->show();
    w.frame->view()->grab();
    const QPoint middle = w.frame->view()->geometryOfLastPaint().xyField().center();
    Qt::CursorShape during = Qt::ArrowCursor;
    auto send = [&](QEvent::Type type, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(middle), QPointF(w.frame->view()->mapToGlobal(middle)), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(w.frame->view(), &event);
    };
    w.pumpDuringMove([&] {
        send(QEvent::MouseMove, Qt::NoButton); // the mouse passes over the plan during the move
        during = w.frame->view()->cursor().shape();
    });
    // The button goes down, then the mouse stays still: no later mouse event
    // sets the pointer.
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(w.frame->view()->cursor().shape(), Qt::CrossCursor);
}

} // namespace

TEST(CMainFrame, CarriesTheQx410Icon)
{
    Window w;
    EXPECT_FALSE(w.frame->windowIcon().isNull());
    EXPECT_FALSE(w.frame->windowIcon().pixmap(16, 16).isNull());
}
