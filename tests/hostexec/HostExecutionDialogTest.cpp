#include "HostExecutionDialog.h"
#include "SimFrame.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString emptyFile(const QTemporaryDir& folder)
{
    const QString path = folder.filePath(QStringLiteral("empty.dat"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    return path;
}

TEST(HostExecutionDialog, TitleIconControlsAndNoDefaultButton)
{
    SimFrame f;
    HostExecutionDialog dialog(f.ops, f.prompts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("    Execute Host Programs"));
    EXPECT_FALSE(dialog.windowIcon().isNull());
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        EXPECT_FALSE(b->isDefault()) << qPrintable(b->text());
        EXPECT_FALSE(b->autoDefault()) << qPrintable(b->text());
    }
    dialog.show();
    auto* execute = dialog.findChild<QGroupBox*>(QStringLiteral("executeGroup"));
    auto* halt = dialog.findChild<QGroupBox*>(QStringLiteral("haltGroup"));
    auto* load = dialog.findChild<QGroupBox*>(QStringLiteral("loadGroup"));
    EXPECT_EQ(execute->title(), QStringLiteral("Execute"));
    EXPECT_EQ(load->title(), QStringLiteral("Load"));
    EXPECT_TRUE(halt->title().isEmpty());
    EXPECT_LT(execute->geometry().right(), load->geometry().left());
    EXPECT_LT(execute->geometry().bottom(), halt->geometry().top());
    EXPECT_TRUE(execute->isAncestorOf(dialog.button(QStringLiteral("loopButton"))));
    EXPECT_TRUE(load->isAncestorOf(dialog.stepsEdit()));
    EXPECT_FALSE(dialog.stepsEdit()->isEnabled());
    EXPECT_TRUE(dialog.stepsEdit()->text().isEmpty());
}

TEST(HostExecutionDialog, ALoopOverAnEmptyFileIsStoppedByHaltWithinASecond)
{
    SimFrame f;
    f.start();
    QTemporaryDir folder;
    f.prompts.fileNames.push_back(emptyFile(folder));
    HostExecutionDialog dialog(f.ops, f.prompts);
    dialog.show();
    dialog.button(QStringLiteral("selectFileButton"))->click();
    EXPECT_EQ(dialog.stepsEdit()->text(), QStringLiteral("0"));

    QTimer::singleShot(100, &dialog, [&] {
        dialog.reject(); // refused: the loop is running
        dialog.button(QStringLiteral("haltButton"))->click();
    });
    QElapsedTimer timer;
    timer.start();
    dialog.button(QStringLiteral("loopButton"))->click(); // returns once halted
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_TRUE(dialog.session().halted());
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.prompts.shown[0].text, HostExecutionSession::cannotExitText);
    // Every pass sent the velocity setting again, nothing else.
    EXPECT_FALSE(f.port.written.isEmpty());
    EXPECT_EQ(f.port.written, hex("56E8030D").repeated(f.port.written.size() / 4));

    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
