#include "HardwareSetupDialog.h"
#include "HardwareOperator.h"
#include "HardwareRig.h"
#include "HardwareSetup.h"
#include "Printing.h"

#include <QGroupBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include "WidgetProbe.h"

#include <gtest/gtest.h>

namespace {

using WidgetProbe::child;
using WidgetProbe::groupTitle;
using WidgetProbe::toolTipShownOver;

TEST(HardwareSetupDialogLook, TitleGroupsButtonsAndTooltips)
{
    HardwareSetupDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("  Hardware Setup"));
    EXPECT_TRUE(dialog.isModal());

    QStringList captions;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        captions << b->text();
    captions.sort();
    EXPECT_EQ(captions, QStringList({ "Exit", "Reset", "Set" }));

    auto* reset = child<QPushButton>(dialog, "resetButton");
    auto* set = child<QPushButton>(dialog, "setButton");
    auto* exit = child<QPushButton>(dialog, "exitButton");
    ASSERT_TRUE(reset && set && exit);
    EXPECT_EQ(reset->text(), QStringLiteral("Reset"));
    EXPECT_EQ(set->text(), QStringLiteral("Set"));
    EXPECT_EQ(groupTitle(reset), QStringLiteral("Controller"));
    EXPECT_EQ(groupTitle(set), QStringLiteral("Origin"));
    EXPECT_EQ(groupTitle(exit), QString());
    EXPECT_EQ(reset->toolTip(), QStringLiteral("Reset Controller"));
    EXPECT_EQ(set->toolTip(), QStringLiteral("Set Origin to Current Position"));
    EXPECT_TRUE(exit->toolTip().isEmpty());

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(toolTipShownOver(reset), QStringLiteral("Reset Controller"));
    EXPECT_EQ(toolTipShownOver(set), QStringLiteral("Set Origin to Current Position"));
    dialog.hide();
}

TEST(HardwareSetupDialogLook, WarningInDarkRedOnLightGreyInItsOwnFrame)
{
    HardwareSetupDialog dialog;
    auto* warning = child<QLabel>(dialog, "warningText");
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->text(), QStringLiteral("Consult Manual Before Changing Origin"));
    EXPECT_NE(warning->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(warning->autoFillBackground());
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
        EXPECT_EQ(warning->palette().color(group, QPalette::WindowText), QColor(128, 0, 0));
        EXPECT_EQ(warning->palette().color(group, QPalette::Window), QColor(192, 192, 192));
    }
    // Only the warning has its own colours.
    EXPECT_NE(dialog.palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_NE(dialog.palette().color(QPalette::WindowText), QColor(128, 0, 0));

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QImage image = warning->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int grey = 0;
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            grey += p == qRgb(192, 192, 192);
            red += qRed(p) >= 100 && qRed(p) <= 150 && qGreen(p) < 30 && qBlue(p) < 30;
        }
    }
    EXPECT_GT(grey, image.width() * image.height() / 2) << "light grey background";
    EXPECT_GT(red, 30) << "dark red text";
    dialog.hide();
}

TEST(HardwareSetupDialogClose, ButtonsAnnounceThemselvesExitEscapeAndCloseBoxClose)
{
    {
        HardwareSetupDialog dialog;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy resets(&dialog, &HardwareSetupDialog::resetClicked);
        QSignalSpy sets(&dialog, &HardwareSetupDialog::setClicked);
        QTest::mouseClick(child<QPushButton>(dialog, "resetButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "setButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "setButton"), Qt::LeftButton);
        EXPECT_EQ(resets.count(), 1);
        EXPECT_EQ(sets.count(), 2);
        EXPECT_TRUE(dialog.isVisible()) << "Reset and Set leave the dialog open";
        QTest::mouseClick(child<QPushButton>(dialog, "exitButton"), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }
    const std::function<void(HardwareSetupDialog&)> ways[] = {
        [](HardwareSetupDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](HardwareSetupDialog& d) { d.close(); },
        [](HardwareSetupDialog& d) { QTest::keyClick(&d, Qt::Key_Return); },
    };
    for (const auto& way : ways) {
        HardwareSetupDialog dialog;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy resets(&dialog, &HardwareSetupDialog::resetClicked);
        QSignalSpy sets(&dialog, &HardwareSetupDialog::setClicked);
        way(dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(resets.count() + sets.count(), 0);
    }
}

// The whole visit: the real modal dialog, HardwareSetup behind it, the
// simulated controller behind the link.
void visit(HardwareRig& r, const std::function<void(HardwareSetupDialog&)>& operatorDoes)
{
    HardwareSetup setup(r.control, r.prompts);
    playOperator<HardwareSetupDialog, bool>(
        [&] {
            HardwareSetupDialog::showModal(nullptr, setup);
            return true;
        },
        operatorDoes);
}

TEST(HardwareSetupDialogVisit, ResetAndSetAnsweredYesAndNo)
{
    HardwareRig r;
    r.prompts.answers = { Prompts::Answer::No, Prompts::Answer::Yes, Prompts::Answer::No, Prompts::Answer::Yes };
    QList<QByteArray> afterEach;
    visit(r, [&](HardwareSetupDialog& d) {
        for (const char* button : { "resetButton", "resetButton", "setButton", "setButton" }) {
            QTest::mouseClick(child<QPushButton>(d, button), Qt::LeftButton);
            afterEach << r.sent();
        }
        QTest::mouseClick(child<QPushButton>(d, "exitButton"), Qt::LeftButton);
    });
    ASSERT_EQ(r.prompts.shown.size(), 4);
    EXPECT_EQ(r.prompts.shown[0].text, HardwareSetup::resetQuestion);
    EXPECT_EQ(r.prompts.shown[2].text, HardwareSetup::setOriginQuestion);
    EXPECT_EQ(afterEach, QList<QByteArray>({ QByteArray(), hex("72 0D"), hex("72 0D"), hex("72 0D 6F 0D") }));
    EXPECT_EQ(r.slept(), 200);
    EXPECT_EQ(r.purges(), 2);
}

TEST(HardwareSetupDialogVisit, ExitAloneSendsNothing)
{
    HardwareRig r;
    visit(r, [](HardwareSetupDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_TRUE(r.prompts.shown.isEmpty());
    EXPECT_EQ(r.sent(), QByteArray());
}

} // namespace
