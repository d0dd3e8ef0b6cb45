#pragma once

#include "ControlLayer.h"
#include "MainFrameState.h"
#include "ManualMoveLogic.h"
#include "StoredPositions.h"

#include <QMainWindow>
#include <functional>

class CQx410View;
class JogKeys;
class MainActions;
class ManualMovePanel;
class PaneBar;
class Prompts;
class QDialog;
class QLabel;
class QToolBar;
struct SerialSettings;

// The main window: menus, the main and define toolbars, the workspace view,
// the manual move panel docked on the right, the message bar and the
// eight-pane status bar. It keeps the window's own state (toolbars, paths,
// stored positions, step size) and observes the control layer, which owns
// the controller's side: it shows the positions, settings and busy flag the
// layer announces, and sends its commands through it.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    static const QString idleMessage;

    CMainFrame(MainFrameState& state, ControlLayer& control, SerialSettings& serial, Prompts& prompts,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    MainFrameState& state() { return m_state; }
    ControlLayer& control() { return m_control; }
    MainActions& actions() { return *m_actions; }
    ManualMovePanel* panel() const { return m_panel; }
    PaneBar* paneBar() const { return m_paneBar; }
    CQx410View* view() const { return m_view; }

    // The last steps of window creation: position read twice, velocity sent.
    LinkStatus initialExchange();
    // How a window target relates to the current position.
    enum class Target {
        Typed,          // the current position stays as reported until the move reads it back
        BecomesCurrent, // a step or a click: the target becomes the current position just before its move
    };
    // An absolute move started from the window (panel, keys, toolbar, view).
    // Nothing happens while a move is awaited; a target outside the travel
    // limits is refused with a warning and nothing is sent or changed.
    void moveTo(const Position& microsteps, Target kind = Target::Typed);
    // One step of the step buttons (and of anything else that steps): the
    // step size from the panel's box, from the position the controller last
    // reported; refused with a warning when it does not fit the controller's
    // count or leaves the travel limits.
    void step(ManualMoveLogic::Step s, ManualMoveLogic::Scale scale = ManualMoveLogic::Scale::Normal);
    void updateCaption();
    void updateConnectionText();
    void updatePaneTexts();
    // The desired-position panes show a target (whole micrometres) that
    // did not come from the pointer: a local client's move.
    void showDesired(const Position& microns);
    // The message bar shows "Clients: N" while local clients are connected;
    // nothing when none is.
    void setClientCount(int clients);
    QString clientCountText() const;
    // Makes the modeless capture dialog that Capture Commands opens.
    void setCaptureFactory(std::function<QDialog*(QWidget* owner)> factory) { m_captureFactory = std::move(factory); }
    // The capture editor has closed; passed on at once to the view.
    void notifyCaptureClosed();

    // Closing. The close box, File, Exit and closeWithoutQuestions() first
    // end whatever is running, as its own Halt or Stop would: a typed move
    // gets the interrupt, a path the interrupt, Execute Host Programs its
    // whole Halt sequence and the velocity sent again, a stored-program run
    // the Halt that the ending wait leads to. No further move is sent, and
    // the window closes once all of that has ended; a second request
    // meanwhile changes nothing. Unsaved captured lines are asked about
    // first (No keeps the program open).
    // A request to end that must not wait for an answer (a signal): the
    // capture editor's question is not asked.
    void closeWithoutQuestions();
    // True once a close has been accepted and is being carried out.
    bool closing() const { return m_closing; }
    // A long wait pumps messages (the desktop's message pump says so around
    // each turn, entering true, leaving false): a close meanwhile must let
    // the wait end first.
    void noteLongWaitTurn(bool entering) { m_longWaitTurns += entering ? 1 : -1; }
    // The window closes now if a close was asked for and nothing runs any more.
    void closeWhenIdle();

    // The panel's fields and step-size box, the menu bar and the status bar.
    void setManualControlsEnabled(bool enabled);
    // Buttons follow the busy flag at once, and the bars are repainted.
    void updateCommandStates();

    // No context menu over the bars: the toolbars are shown and hidden
    // together through View, Toolbar only, so none can be hidden alone.
    QMenu* createPopupMenu() override;

signals:
    void captureClosed();
    // Hooks for the dialogs that other parts of the program provide.
    void resolutionDialogRequested();
    void velocityDialogRequested();
    void communicationsDialogRequested();
    void aboutRequested();
    // Help, Help Topics (and F1): the user guide in the program's help window.
    void helpRequested();
    void dialogRequested(QAction* action);
    // Robotics, Host, Execute Commands.
    void hostExecutionRequested();
    // Move Along Path 1 or 2 on the main toolbar.
    void movePathRequested(int path);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void observeControl();
    void connectActions();
    void buildStatusBars();
    void goToStored(int index);
    void toggleToolbars(bool visible);
    bool somethingRuns() const;
    // Asks the capture editor to close; false when it stays open.
    bool captureLetsGo();
    // Closes the message boxes a halted run was waiting on.
    void dismissQuestions();

    MainFrameState& m_state;
    SerialSettings& m_serial;
    ControlLayer& m_control;
    Prompts& m_prompts;
    StoredPositions m_storedPositions;
    MainActions* m_actions = nullptr;
    JogKeys* m_jogKeys = nullptr;
    CQx410View* m_view = nullptr;
    ManualMovePanel* m_panel = nullptr;
    PaneBar* m_paneBar = nullptr;
    QToolBar* m_paneToolBar = nullptr;
    QLabel* m_clients = nullptr;
    std::function<QDialog*(QWidget* owner)> m_captureFactory;
    // A close has been accepted: it is carried out once nothing runs.
    bool m_closing = false;
    bool m_withoutQuestions = false;
    int m_longWaitTurns = 0;
};
