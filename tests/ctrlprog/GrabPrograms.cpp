// Saves pictures of the three controller-program dialogs, for the
// documentation:
//   qx410ctrlproggrab DIRECTORY [SCALE]
// writes download.png, execute-program.png, upload.png and
// transfer-progress.png there. Run by hand or by qx410pictures
// (tests/pictures), which checks their sizes. The dialogs sit on the in-process
// simulated controller, so nothing is sent anywhere.

#include "DownloadDialog.h"
#include "DownloadSession.h"
#include "ExecuteProgramDialog.h"
#include "ExecuteSession.h"
#include "ProgramRig.h"
#include "ProgressWindow.h"
#include "TempFiles.h"
#include "UploadDialog.h"
#include "UploadSession.h"

#include "GrabTool.h"

#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410ctrlproggrab DIRECTORY [SCALE]"))
        return 2;
    QApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    int status = 0;

    ProgramRig rig;
    {
        // A capture of five stops with a pause, loaded.
        QTemporaryDir dir;
        const QString path = TempFiles::write(dir, "capture.dat",
            "Low, 1000\r\nMove, -5000, 2500, 0\r\nMove, -5000, -2500, 0\r\nPause \r\n"
                   "High, 250\r\nMove, 1500, -2500, -500\r\nStatus, 0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"
                   "Move, 0, 0, 0\r\n");
        DownloadSession session(rig.exchange, rig.prompts, rig.host);
        DownloadDialog dialog(session);
        rig.prompts.fileNames.push_back(path);
        dialog.findChild<QPushButton*>(QStringLiteral("selectFile"))->click();
        dialog.show();
        QApplication::processEvents();
        status |= GrabTool::save(dialog, qPrintable(out.filePath(QStringLiteral("download.png"))));
    }
    {
        ExecuteSession session(rig.exchange, rig.prompts, rig.host);
        ExecuteProgramDialog dialog(session);
        dialog.findChild<QRadioButton*>(QStringLiteral("relative"))->setChecked(true);
        dialog.show();
        QApplication::processEvents();
        status |= GrabTool::save(dialog, qPrintable(out.filePath(QStringLiteral("execute-program.png"))));
    }
    {
        UploadSession session(rig.exchange, rig.prompts);
        UploadDialog dialog(session);
        dialog.findChild<QRadioButton*>(QStringLiteral("program4"))->setChecked(true);
        dialog.show();
        QApplication::processEvents();
        status |= GrabTool::save(dialog, qPrintable(out.filePath(QStringLiteral("upload.png"))));
    }
    {
        // A download under way, over its dialog.
        DownloadSession session(rig.exchange, rig.prompts, rig.host);
        DownloadDialog dialog(session);
        ProgressWindow progress(&dialog);
        progress.started(ProgramProgress::Transfer::Store, 4, 300);
        progress.advanced(120);
        auto* window = dialog.findChild<QProgressDialog*>();
        window->show();
        QApplication::processEvents();
        status |= GrabTool::save(*window, qPrintable(out.filePath(QStringLiteral("transfer-progress.png"))));
    }
    return status;
}
