#pragma once

#include "HostExecutionSession.h"

#include <QDialog>

class HostMoves;
class Prompts;
class QLineEdit;
class QPushButton;

// The Execute Host Programs window, titled "    Execute Host Programs":
// group "Execute" (Execute Once, Loop) at the top left, an unnamed group
// with Halt below it, group "Load" (Select File, "Steps") at the top right
// and Exit at the bottom right. No default button. Every button goes to its
// HostExecutionSession; Exit, the close box and Esc are refused while a run
// is in progress.
//
// Children carry object names for tests: "executeGroup", "executeOnceButton",
// "loopButton", "haltGroup", "haltButton", "loadGroup", "selectFileButton",
// "stepsLabel", "stepsEdit", "exitButton".
class HostExecutionDialog : public QDialog
{
    Q_OBJECT

public:
    // prompts: owned by this window on screen (message boxes, file chooser).
    HostExecutionDialog(HostMoves& moves, Prompts& prompts, QWidget* owner = nullptr);

    HostExecutionSession& session() { return m_session; }
    QLineEdit* stepsEdit() const { return m_steps; }
    QPushButton* button(const QString& objectName) const;

    // Opens the window modally, afresh, and returns when it has closed.
    static void showModal(HostMoves& moves, Prompts& prompts, QWidget* owner);

public slots:
    // Exit, Esc and the close box (through the dialog's own close handling).
    void reject() override;

private:
    QPushButton* addButton(const QString& caption, const QString& name, void (HostExecutionSession::*action)());

    HostExecutionSession m_session;
    QLineEdit* m_steps = nullptr;
};
