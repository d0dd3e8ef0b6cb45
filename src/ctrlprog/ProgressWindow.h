#pragma once

#include "ProgramProgress.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// The progress of a program transfer in a window over the dialog that
// started it: "Storing program 3: step 12 of 300" and a bar. The window is
// application-modal, so while each step gives the window system a turn (the
// windows stay painted) no other exchange can be started. It offers no
// Cancel: a download stopped part way would leave the controller waiting for
// the rest of the steps it was promised and storing the next commands as
// steps, and an upload ends by itself within 10 s of the controller falling
// silent.
class ProgressWindow : public ProgramProgress
{
public:
    explicit ProgressWindow(QWidget* parent);
    ~ProgressWindow() override;

    void started(Transfer transfer, int program, int total) override;
    void advanced(int done) override;
    void finished() override;

private:
    QWidget* m_parent;
    QPointer<QProgressDialog> m_dialog;
    Transfer m_transfer = Transfer::Store;
    int m_program = 0;
    int m_total = 0;
};
