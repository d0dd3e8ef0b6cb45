// The three dialogs driven offscreen against the simulated controller.

#include "DownloadDialog.h"
#include "DownloadSession.h"
#include "ExecuteProgramDialog.h"
#include "ExecuteSession.h"
#include "ProgramRig.h"
#include "ProgressWindow.h"
#include "TempFiles.h"
#include "UploadDialog.h"
#include "UploadSession.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

QPushButton* button(QWidget& w, const char* name)
{
    return w.findChild<QPushButton*>(QLatin1String(name));
}

TEST(DownloadDialog, ShowsTheCountOfTheLoadedFile)
{
    ProgramRig rig;
    QTemporaryDir dir;
    const QString path = TempFiles::write(dir, "a.dat", "Move,1,2,3\r\nStatus, 1\r\nPause\r\nMove,4,5,6\r\n");

    DownloadSession session(rig.exchange, rig.prompts, rig.host);
    DownloadDialog dialog(session);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("     Download to Controller"));
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), QStringLiteral("Download"));
    rig.prompts.fileNames.push_back(path);
    button(dialog, "selectFile")->click();
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("firstLine"))->text(), QStringLiteral("File contains 3"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("secondLine"))->text(),
              QStringLiteral("downloadable commands"));
    rig.prompts.numbers.push_back(2);
    button(dialog, "downloadFile")->click();
    EXPECT_EQ(rig.sim.program(2).size(), 3u);
}

TEST(ExecuteProgramDialog, HaltDuringARunAndGuardedExit)
{
    ProgramRig rig;
    rig.store(3, {{1000, 250000, 0, 0}}); // 10 s of travel
    rig.host.selected = 3;
    ExecuteSession session(rig.exchange, rig.prompts, rig.host);
    ExecuteProgramDialog dialog(session);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("    Execute Program Stored in Controller"));
    EXPECT_TRUE(dialog.findChild<QRadioButton*>(QStringLiteral("absolute"))->isChecked());

    rig.link.setMessagePump([&] {
        // The operator closes the window, then presses Halt.
        dialog.close();
        EXPECT_TRUE(dialog.isVisible());
        rig.wire();
        button(dialog, "halt")->click();
        return true;
    });
    button(dialog, "execute")->click();
    EXPECT_EQ(rig.prompts.shown.size(), 1);
    EXPECT_EQ(rig.wire(), QByteArray("56 01 00 0D 65 0D 03 0D 65 0D 6E 0D 63 0D 56 E8 03 0D"));
    EXPECT_GT(rig.host.position.x, 0);
    EXPECT_LT(rig.host.position.x, 250000);

    button(dialog, "exit")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(rig.wire(), QByteArray("61 0D"));
}

TEST(UploadDialog, UploadsTheCheckedProgram)
{
    ProgramRig rig;
    rig.store(7, {{1000, 250, -500, 75}});
    QTemporaryDir dir;
    UploadSession session(rig.exchange, rig.prompts);
    UploadDialog dialog(session);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("     Upload Program from Controller"));
    EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), QStringLiteral("Static"));
    EXPECT_EQ(dialog.checkedProgram(), 1);
    dialog.findChild<QRadioButton*>(QStringLiteral("program7"))->click();
    rig.prompts.fileNames.push_back(dir.filePath(QStringLiteral("seven.dat")));
    button(dialog, "upload")->click();
    EXPECT_EQ(rig.wire(), QByteArray("75 07 00 0D"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("seven.dat"))));
}

// The window over a transfer: modal, the step in words, nothing that stops it.
TEST(ProgressWindow, ModalWithTheStepAndNoWayToStopIt)
{
    QWidget owner;
    ProgressWindow progress(&owner);
    progress.started(ProgramProgress::Transfer::Store, 4, 300);
    progress.advanced(120);
    auto* window = owner.findChild<QProgressDialog*>(QStringLiteral("transferProgress"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window->labelText(), QStringLiteral("Storing program 4: step 120 of 300"));
    EXPECT_EQ(window->value(), 120);
    EXPECT_TRUE(window->findChildren<QPushButton*>().isEmpty());
    window->show();
    EXPECT_FALSE(window->close());
    progress.finished();
    EXPECT_EQ(owner.findChild<QProgressDialog*>(), nullptr);
}

} // namespace
