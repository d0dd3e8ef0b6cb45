// Robotics > Controller > Download, Execute and Upload Programs.

#include "CQx410App.h"

#include "CMainFrame.h"
#include "ControlBackend.h"
#include "DownloadDialog.h"
#include "DownloadSession.h"
#include "ExecuteProgramDialog.h"
#include "ExecuteSession.h"
#include "FrameProgramHost.h"
#include "MainActions.h"
#include "ProgramExchange.h"
#include "UploadDialog.h"
#include "UploadSession.h"

void CQx410App::connectControllerPrograms()
{
    CMainFrame* f = m_frame.get();
    QObject::connect(f, &CMainFrame::dialogRequested, f, [this, f](QAction* action) {
        MainActions& a = f->actions();
        if (action != a.downloadPrograms && action != a.executePrograms && action != a.uploadPrograms)
            return;
        // Each opening starts afresh; the selected program number stays in
        // the main window.
        // Local clients are told busy while the dialog holds the controller.
        struct Holding {
            explicit Holding(ControlBackend& backend) : b(backend) { b.setWindowHolding(true); }
            ~Holding() { b.setWindowHolding(false); }
            ControlBackend& b;
        } holding(*m_backend);
        QtPrompts prompts;
        ProgramExchange exchange(m_link, m_clock);
        FrameProgramHost host(f->state(), f->control());
        if (action == a.downloadPrograms) {
            DownloadSession session(exchange, prompts, host);
            DownloadDialog dialog(session, f);
            prompts.setOwner(&dialog);
            dialog.exec();
        } else if (action == a.executePrograms) {
            ExecuteSession session(exchange, prompts, host);
            ExecuteProgramDialog dialog(session, f);
            prompts.setOwner(&dialog);
            dialog.exec();
        } else {
            UploadSession session(exchange, prompts);
            UploadDialog dialog(session, f);
            prompts.setOwner(&dialog);
            dialog.exec();
        }
    });
}
