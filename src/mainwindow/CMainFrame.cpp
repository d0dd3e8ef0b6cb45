#include "CMainFrame.h"

#include "CQx410View.h"
#include "DefinePositionDialog.h"
#include "JogKeys.h"
#include "MainActions.h"
#include "ManualMovePanel.h"
#include "MoveRange.h"
#include "PaneBar.h"
#include "Qx410Icon.h"
#include "SerialSettings.h"
#include "Units.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QMenu>
#include <QDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QLabel>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

const QString CMainFrame::idleMessage = QStringLiteral("For Help, press F1");

namespace {
const QString kUndefined = QStringLiteral("\tundefined");
}

CMainFrame::CMainFrame(MainFrameState& state, ControlLayer& control, SerialSettings& serial, Prompts& prompts,
                       QWidget* parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_serial(serial)
    , m_control(control)
    , m_prompts(prompts)
    , m_storedPositions(state, control, prompts)
{
    m_view = new CQx410View(m_control.state(), this);
    m_view->setOnPaint([this] {
        updateCaption();
        updateConnectionText();
    });
    m_view->setOnMove([this](const Position& microsteps) { moveTo(microsteps, Target::BecomesCurrent); });
    m_view->setOnDesired([this](int axis, const QString& text) { m_paneBar->setPaneText(3 + 2 * axis, text); });
    setCentralWidget(m_view);
    setWindowIcon(Qx410Icon::icon());
    connect(this, &CMainFrame::captureClosed, m_view, &CQx410View::onCaptureClosed);

    m_actions = new MainActions(this);
    buildStatusBars();

    m_panel = new ManualMovePanel;
    auto* dock = new QDockWidget(this);
    dock->setObjectName(QStringLiteral("manualMovePanel"));
    dock->setWidget(m_panel);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setTitleBarWidget(new QWidget(dock));
    addDockWidget(Qt::RightDockWidgetArea, dock);
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
    m_panel->setStepSizeText(QString::number(static_cast<qint64>(m_state.stepSize)));

    observeControl();
    connectActions();
    updateCaption();
    updateConnectionText();
    updatePaneTexts();
    updateCommandStates();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::buildStatusBars()
{
    statusBar()->showMessage(idleMessage);
    m_clients = new QLabel;
    m_clients->setObjectName(QStringLiteral("clientCount"));
    statusBar()->addPermanentWidget(m_clients);
    m_clients->hide();

    m_paneBar = new PaneBar;
    m_paneBar->setPanes({
        {115, true, QString()},
        {135, true, QString()},
        {175, false, QStringLiteral("\t\tDesired Position:   X")},
        {75, true, kUndefined},
        {30, false, QStringLiteral("\t\tY")},
        {75, true, kUndefined},
        {30, false, QStringLiteral("\t\tZ")},
        {75, true, kUndefined},
    });
    m_paneBar->addToolTipArea(QRect(QPoint(0, 2), QPoint(121, 23)), QStringLiteral("Current Resolution (Double Click)"));
    m_paneBar->addToolTipArea(QRect(QPoint(123, 2), QPoint(264, 23)), QStringLiteral("Current Velocity (Double Click)"));
    m_paneBar->addToolTipArea(QRect(QPoint(449, 2), QPoint(530, 23)), QStringLiteral("Current X Position"));
    m_paneBar->addToolTipArea(QRect(QPoint(570, 2), QPoint(651, 23)), QStringLiteral("Current Y Position"));
    m_paneBar->addToolTipArea(QRect(QPoint(691, 2), QPoint(743, 23)), QStringLiteral("Current Z Position"));
    connect(m_paneBar, &PaneBar::paneDoubleClicked, this, [this](int pane) {
        if (pane == 0)
            emit resolutionDialogRequested();
        else if (pane == 1)
            emit velocityDialogRequested();
    });

    // The eight-pane bar sits along the bottom edge, above the message bar.
    m_paneToolBar = new QToolBar(tr("Status"), this);
    m_paneToolBar->setObjectName(QStringLiteral("statusPanes"));
    m_paneToolBar->setMovable(false);
    m_paneToolBar->setFloatable(false);
    m_paneToolBar->toggleViewAction()->setVisible(false);
    m_paneToolBar->addWidget(m_paneBar);
    addToolBar(Qt::BottomToolBarArea, m_paneToolBar);
}

void CMainFrame::connectActions()
{
    MainActions& a = *m_actions;
    connect(a.exit, &QAction::triggered, this, &QWidget::close);
    connect(a.communications, &QAction::triggered, this, &CMainFrame::communicationsDialogRequested);
    connect(a.velocity, &QAction::triggered, this, &CMainFrame::velocityDialogRequested);
    connect(a.resolution, &QAction::triggered, this, &CMainFrame::resolutionDialogRequested);
    connect(a.captureCommands, &QAction::triggered, this, [this] {
        if (m_captureFactory)
            m_view->openCapture(m_captureFactory);
    });
    connect(a.executeCommands, &QAction::triggered, this, &CMainFrame::hostExecutionRequested);
    for (QAction* hook : {a.downloadPrograms, a.executePrograms, a.uploadPrograms, a.hardware, a.travelLimits})
        connect(hook, &QAction::triggered, this, [this, hook] { emit dialogRequested(hook); });
    connect(a.toolbar, &QAction::toggled, this, &CMainFrame::toggleToolbars);
    connect(a.statusBar, &QAction::toggled, m_paneToolBar, &QWidget::setVisible);
    connect(a.helpTopics, &QAction::triggered, this, &CMainFrame::helpRequested);
    connect(a.about, &QAction::triggered, this, &CMainFrame::aboutRequested);

    const MainActions::Tool goTo[] = {MainActions::GoHome, MainActions::GoPosition1, MainActions::GoPosition2,
                                      MainActions::GoPosition3, MainActions::GoPrevious};
    for (int i = 0; i < MainFrameState::StoredCount; ++i)
        connect(a.tool(goTo[i]), &QAction::triggered, this, [this, i] { goToStored(i); });
    connect(a.tool(MainActions::Stop), &QAction::triggered, this, [this] { m_control.stop(); });
    connect(a.tool(MainActions::Update), &QAction::triggered, this, [this] {
        if (m_control.getPosition() != LinkStatus::Failed)
            m_control.markerRefresh();
    });
    connect(a.tool(MainActions::Refresh), &QAction::triggered, this, [this] { m_control.refreshDisplay(); });
    const MainActions::Tool define[] = {MainActions::DefineHome, MainActions::DefinePosition1,
                                        MainActions::DefinePosition2, MainActions::DefinePosition3,
                                        MainActions::DefinePrevious};
    for (int i = 0; i < MainFrameState::StoredCount; ++i)
        connect(a.tool(define[i]), &QAction::triggered, this, [this, i] {
            m_storedPositions.define(i, [this](DefinePosition& d) { return DefinePositionDialog::askWithDialog(this, d); });
        });
    connect(a.tool(MainActions::MovePath1), &QAction::triggered, this, [this] { emit movePathRequested(1); });
    connect(a.tool(MainActions::MovePath2), &QAction::triggered, this, [this] { emit movePathRequested(2); });
    for (MainActions::Tool t : {MainActions::DefinePath1, MainActions::DefinePath2}) {
        QAction* hook = a.tool(t);
        connect(hook, &QAction::triggered, this, [this, hook] { emit dialogRequested(hook); });
    }

    // A target that does not fit the controller's 32-bit count is refused
    // with a message and nothing is sent.
    connect(m_panel, &ManualMovePanel::moveClicked, this, [this] {
        QString refusal;
        if (const auto t = ManualMoveLogic::moveTarget(m_panel->xText(), m_panel->yText(), m_panel->zText(), &refusal))
            moveTo(*t);
        else
            MoveRange::showRefusal(m_prompts, refusal);
    });
    connect(m_panel, &ManualMovePanel::stepClicked, this,
            [this](ManualMoveLogic::Step s) { step(s, ManualMoveLogic::Scale::Normal); });
    // The keys jog from the plan and the panel, through the same step.
    m_jogKeys = new JogKeys(this);
    m_jogKeys->watch(m_view);
    m_jogKeys->watch(m_panel);
    connect(m_jogKeys, &JogKeys::jog, this, &CMainFrame::step);
}

void CMainFrame::observeControl()
{
    // Direct connections: each change is shown before the exchange goes on.
    connect(&m_control, &ControlLayer::moveLockChanged, this,
            [this](bool locked) { setManualControlsEnabled(!locked); });
    connect(&m_control, &ControlLayer::busyChanged, this, &CMainFrame::updateCommandStates);
    connect(&m_control, &ControlLayer::moveStarted, this,
            [this](const Position& microns) { m_state.stored[MainFrameState::Previous] = microns; });
    connect(&m_control, &ControlLayer::positionChanged, m_panel, &ManualMovePanel::showPosition);
    connect(&m_control, &ControlLayer::markerMoved, m_view, &CQx410View::refreshMarker);
    connect(&m_control, &ControlLayer::settingsChanged, this, &CMainFrame::updatePaneTexts);
    connect(&m_control, &ControlLayer::runsEnded, this, &CMainFrame::closeWhenIdle);
    m_view->setTravelLimits(m_control.travelLimits());
    connect(&m_control, &ControlLayer::limitsChanged, this,
            [this] { m_view->setTravelLimits(m_control.travelLimits()); });
}

LinkStatus CMainFrame::initialExchange()
{
    return m_control.initialExchange();
}

void CMainFrame::moveTo(const Position& microsteps, Target kind)
{
    if (m_control.isBusy())
        return; // a move is awaited: refused, never queued
    const QString outside = m_control.limitRefusal(microsteps);
    if (!outside.isEmpty()) {
        // Shown as a target beyond the controller's count is; the current
        // position stays the one the controller reported.
        MoveRange::showRefusal(m_prompts, outside);
        return;
    }
    if (kind == Target::BecomesCurrent)
        m_control.setCurrentPosition(microsteps);
    if (!m_control.requestMove(microsteps))
        return;
    closeWhenIdle();
}

void CMainFrame::step(ManualMoveLogic::Step s, ManualMoveLogic::Scale scale)
{
    // A key may ask while a move or a run holds the controller: nothing, not even a box.
    if (m_control.isBusy() || m_control.moveInProgress() || m_control.runInProgress())
        return;
    QString refusal;
    const auto t = ManualMoveLogic::stepTarget(m_control.currentPosition(), s, m_panel->stepSizeText(), scale, &refusal);
    if (!t) {
        MoveRange::showRefusal(m_prompts, refusal);
        return;
    }
    moveTo(*t, Target::BecomesCurrent);
}

void CMainFrame::goToStored(int index)
{
    if (const std::optional<Position> t = m_storedPositions.checkedTarget(index))
        moveTo(*t);
}

void CMainFrame::updateCaption()
{
    const QString caption = QStringLiteral("Qx410 (%1)").arg(m_serial.portName);
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void CMainFrame::updateConnectionText()
{
    const QString text = QStringLiteral("QX-410 is connected via %1").arg(m_serial.portName);
    if (m_panel->connectionText() != text)
        m_panel->setConnectionText(text);
}

void CMainFrame::updatePaneTexts()
{
    m_paneBar->setPaneText(0, m_control.isHighResolution() ? QStringLiteral("\tRes:   HIGH")
                                                           : QStringLiteral("\tRes:   LOW"));
    m_paneBar->setPaneText(1, QStringLiteral("\tVelocity:   %1").arg(m_control.velocitySetting()));
}

void CMainFrame::showDesired(const Position& microns)
{
    const qint32 values[] = {microns.x, microns.y, microns.z};
    for (int axis = 0; axis < 3; ++axis)
        m_paneBar->setPaneText(3 + 2 * axis, QStringLiteral("\t%1").arg(values[axis]));
}

void CMainFrame::setClientCount(int clients)
{
    m_clients->setText(QStringLiteral("Clients: %1").arg(clients));
    m_clients->setVisible(clients > 0);
}

QString CMainFrame::clientCountText() const
{
    return m_clients->isHidden() ? QString() : m_clients->text();
}

void CMainFrame::notifyCaptureClosed()
{
    emit captureClosed();
}

void CMainFrame::setManualControlsEnabled(bool enabled)
{
    m_panel->setFieldsEnabled(enabled);
    // While a move runs the menu bar shows the five titles, disabled and
    // without their drop-downs.
    for (QMenu* menu : m_actions->menus())
        menu->menuAction()->setEnabled(enabled);
    m_paneBar->setEnabled(enabled);
}

void CMainFrame::updateCommandStates()
{
    const bool idle = !m_control.isBusy();
    for (int t = 0; t < MainActions::ToolCount; ++t)
        m_actions->tool(static_cast<MainActions::Tool>(t))->setEnabled(t == MainActions::Stop ? !idle : idle);
    m_panel->setButtonsEnabled(idle);
    m_view->updatePointer(); // the hourglass follows the busy flag too
    m_actions->mainToolBar()->repaint();
    m_actions->defineToolBar()->repaint();
    m_panel->repaint();
}

QMenu* CMainFrame::createPopupMenu()
{
    return nullptr;
}

void CMainFrame::toggleToolbars(bool visible)
{
    m_state.toolbarsVisible = visible;
    m_actions->mainToolBar()->setVisible(visible);
    m_actions->defineToolBar()->setVisible(visible);
}

void CMainFrame::closeWithoutQuestions()
{
    m_withoutQuestions = true;
    close();
}

void CMainFrame::closeWhenIdle()
{
    // Posted, so that the run or move that ends now has left the stack first.
    if (m_closing && !somethingRuns())
        QTimer::singleShot(0, this, &QWidget::close);
}

bool CMainFrame::somethingRuns() const
{
    return m_control.isBusy() || m_control.moveInProgress() || m_control.runInProgress() || m_longWaitTurns > 0;
}

bool CMainFrame::captureLetsGo()
{
    QDialog* capture = m_view->capture();
    if (!capture || !capture->isVisible())
        return true;
    if (!m_withoutQuestions)
        return capture->close(); // asks about unsaved lines
    // Nobody may be there to answer: the editor goes without asking.
    qWarning("qx410: closing on request; the capture window closes without saving");
    capture->hide();
    capture->deleteLater();
    return true;
}

void CMainFrame::dismissQuestions()
{
    for (QMessageBox* box : findChildren<QMessageBox*>()) {
        if (box->isVisible())
            box->done(QMessageBox::No);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_closing) {
        if (!captureLetsGo()) {
            event->ignore();
            return;
        }
        m_closing = true;
        if (somethingRuns()) {
            // End what runs first, as its own Halt or Stop would; the window
            // closes once it has ended (closeWhenIdle). Halting a run clears
            // the busy flag of its move; a typed move gets Stop.
            m_control.haltRuns();
            if (m_control.isBusy())
                m_control.stop();
            dismissQuestions();
            updateCommandStates();
        }
    }
    if (somethingRuns()) {
        // A second request while the first is carried out cuts nothing short.
        event->ignore();
        return;
    }
    // Modal windows still open (Execute Host Programs after its run has
    // ended, a setup dialog) close with the main window.
    for (QDialog* dialog : findChildren<QDialog*>()) {
        if (dialog->isVisible() && dialog->isModal())
            dialog->done(QDialog::Rejected);
    }
    QMainWindow::closeEvent(event);
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        statusBar()->showMessage(tip.isEmpty() ? idleMessage : tip);
        return true;
    }
    return QMainWindow::event(event);
}
