#pragma once

#include "ProgressWindow.h"

#include <QDialog>

class ExecuteSession;
class QRadioButton;

// "    Execute Program Stored in Controller": Select Program, Execute,
// Continue and Halt in the group "Execute", Absolute and Relative in the
// group "Execution Mode", and Exit. Exit, Escape and the close box are
// refused while a run is in progress.
class ExecuteProgramDialog : public QDialog
{
    Q_OBJECT
public:
    ExecuteProgramDialog(ExecuteSession& session, QWidget* parent = nullptr);
    ~ExecuteProgramDialog() override;

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ExecuteSession& m_session;
    ProgressWindow m_progress{this};
    QRadioButton* m_absolute = nullptr;
};
