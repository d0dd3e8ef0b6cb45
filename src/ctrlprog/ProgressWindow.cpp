#include "ProgressWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QProgressDialog>

namespace {

// A progress dialog that neither Escape nor the close box takes away: the
// transfer it shows cannot be stopped part way.
class StayingProgressDialog : public QProgressDialog
{
public:
    using QProgressDialog::QProgressDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QProgressDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : m_parent(parent)
{
}

ProgressWindow::~ProgressWindow()
{
    delete m_dialog;
}

void ProgressWindow::started(Transfer transfer, int program, int total)
{
    delete m_dialog;
    m_transfer = transfer;
    m_program = program;
    m_total = total;
    m_dialog = new StayingProgressDialog(m_parent);
    m_dialog->setObjectName(QStringLiteral("transferProgress"));
    m_dialog->setWindowTitle(transfer == Transfer::Store ? QStringLiteral("Download to Controller")
                                                         : QStringLiteral("Reading from Controller"));
    m_dialog->setCancelButton(nullptr);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(400);
    m_dialog->setRange(0, total);
    m_dialog->setMinimumWidth(320);
    advanced(0);
}

void ProgressWindow::advanced(int done)
{
    if (!m_dialog)
        return;
    m_dialog->setLabelText(ProgramProgress::text(m_transfer, m_program, done, m_total));
    // A modal progress dialog lets the event loop run here: the windows are
    // painted, and input to every other window is held back.
    m_dialog->setValue(done);
}

void ProgressWindow::finished()
{
    delete m_dialog;
}
