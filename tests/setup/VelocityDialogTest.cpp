#include "VelocityDialog.h"
#include "HardwareOperator.h"
#include "HardwareRig.h"
#include "Printing.h"
#include "VelocitySetup.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "WidgetProbe.h"

#include <gtest/gtest.h>

namespace {

using WidgetProbe::child;
using WidgetProbe::groupTitle;
using WidgetProbe::toolTipShownOver;

// An apply function that records what it was given and answers as told.
struct RecordingApply {
    QList<VelocityChoice> given;
    bool answer = true;
    VelocityDialog::Apply function()
    {
        return [this](const VelocityChoice& c) {
            given << c;
            return answer;
        };
    }
};

TEST(VelocityDialogLook, TitleControlsAndDefaultButton)
{
    VelocityDialog dialog(VelocityChoice { QStringLiteral("1000") });
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("   Velocity"));
    EXPECT_TRUE(dialog.isModal());

    auto* entry = child<QLineEdit>(dialog, "velocityEntry");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QStringLiteral("1000"));
    EXPECT_EQ(groupTitle(entry), QStringLiteral("Velocity"));
    auto* unit = child<QLabel>(dialog, "unitLabel");
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->text(), QStringLiteral("\u00B5m/sec"));
    EXPECT_EQ(groupTitle(unit), QStringLiteral("Velocity"));

    QStringList captions;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        captions << b->text();
    captions.sort();
    EXPECT_EQ(captions, QStringList({ "Cancel", "OK" }));
    EXPECT_TRUE(child<QPushButton>(dialog, "cancelButton")->isDefault()) << "Cancel is the default button";
    EXPECT_FALSE(child<QPushButton>(dialog, "okButton")->isDefault());
    EXPECT_EQ(dialog.findChildren<QLineEdit*>().size(), 1);
}

TEST(VelocityDialogLook, OpensWithTheEntrySelectedInTheEntry)
{
    VelocityDialog dialog(VelocityChoice { QStringLiteral("6550") });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* entry = child<QLineEdit>(dialog, "velocityEntry");
    EXPECT_TRUE(entry->hasFocus());
    EXPECT_EQ(entry->selectedText(), QStringLiteral("6550"));
    EXPECT_EQ(dialog.choice(), VelocityChoice { QStringLiteral("6550") });
    dialog.hide();
}

TEST(VelocityDialogClose, EnterCancelsWithoutApplying)
{
    RecordingApply apply;
    VelocityDialog dialog(VelocityChoice { QStringLiteral("1000") }, apply.function());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* entry = child<QLineEdit>(dialog, "velocityEntry");
    entry->setFocus();
    entry->selectAll();
    QTest::keyClicks(entry, QStringLiteral("1200"));
    EXPECT_EQ(dialog.choice(), VelocityChoice { QStringLiteral("1200") });
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "Enter presses Cancel, the default button";
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(apply.given.isEmpty());
}

TEST(VelocityDialogClose, CancelEscapeAndCloseBoxDoNotApply)
{
    const std::function<void(VelocityDialog&)> ways[] = {
        [](VelocityDialog& d) { QTest::mouseClick(child<QPushButton>(d, "cancelButton"), Qt::LeftButton); },
        [](VelocityDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](VelocityDialog& d) { d.close(); },
    };
    for (const auto& way : ways) {
        RecordingApply apply;
        VelocityDialog dialog(VelocityChoice { QStringLiteral("1000") }, apply.function());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        way(dialog);
        EXPECT_EQ(rejected.count(), 1);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(apply.given.isEmpty());
    }
}

TEST(VelocityDialogClose, OkClosesOnlyWhenApplied)
{
    RecordingApply apply;
    apply.answer = false;
    VelocityDialog dialog(VelocityChoice { QStringLiteral("1000") }, apply.function());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* entry = child<QLineEdit>(dialog, "velocityEntry");
    entry->setText(QStringLiteral("7000"));
    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible()) << "a refused entry keeps the dialog open";
    EXPECT_TRUE(entry->hasFocus());
    EXPECT_EQ(entry->selectedText(), QStringLiteral("7000")) << "the refused entry is selected for retyping";

    apply.answer = true;
    entry->setText(QStringLiteral("1200"));
    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(apply.given,
        QList<VelocityChoice>(
            { VelocityChoice { QStringLiteral("7000") }, VelocityChoice { QStringLiteral("1200") } }));
}

// The whole visit: the real modal dialog, the setup behind it, the
// simulated controller behind the link.

struct Visit : HardwareRig {
    explicit Visit(bool high)
    {
        state.resolution = high ? ControlState::highResolution : ControlState::lowResolution;
        state.velocity = 1000;
    }

    bool open(const std::function<void(VelocityDialog&)>& operatorDoes)
    {
        return playOperator<VelocityDialog, bool>(
            [this] {
                return setup.run([](const VelocityChoice& initial, const VelocitySetup::Apply& ok) {
                    return VelocityDialog::askWithDialog(nullptr, initial, ok);
                });
            },
            operatorDoes);
    }

    VelocitySetup setup { layer, prompts, [this] { updatePanes(); } };
};

void typeAndOk(VelocityDialog& d, const char* text)
{
    auto* entry = child<QLineEdit>(d, "velocityEntry");
    entry->selectAll();
    QTest::keyClicks(entry, QString::fromLatin1(text));
    QTest::mouseClick(child<QPushButton>(d, "okButton"), Qt::LeftButton);
}

TEST(VelocityDialogVisit, RefusedEntriesKeepItOpenTheAcceptedOneIsSent)
{
    Visit v(true);
    bool openAfterRefusals = false;
    QString entryShown;
    EXPECT_TRUE(v.open([&](VelocityDialog& d) {
        entryShown = d.choice().entry;
        typeAndOk(d, "6551");
        typeAndOk(d, "1311");
        openAfterRefusals = d.isVisible();
        typeAndOk(d, "1310");
    }));
    EXPECT_EQ(entryShown, QStringLiteral("1000"));
    EXPECT_TRUE(openAfterRefusals);
    ASSERT_EQ(v.prompts.shown.size(), 2);
    EXPECT_EQ(v.prompts.shown[0].text, VelocitySetup::rangeText);
    EXPECT_EQ(v.prompts.shown[1].text, QStringLiteral("Velocity must be less than 1310 in high resolution mode"));
    EXPECT_EQ(v.prompts.shown[1].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(v.state.velocity, 1310);
    EXPECT_EQ(v.velocityPane, QStringLiteral("\tVelocity:   1310"));
    EXPECT_EQ(v.sent(), hex("56 1E 85 0D"));
}

TEST(VelocityDialogVisit, CancelSendsNothing)
{
    Visit v(false);
    EXPECT_FALSE(v.open([](VelocityDialog& d) {
        auto* entry = child<QLineEdit>(d, "velocityEntry");
        entry->setText(QStringLiteral("2000"));
        QTest::keyClick(entry, Qt::Key_Return);
    }));
    EXPECT_EQ(v.state.velocity, 1000);
    EXPECT_EQ(v.paneUpdates, 0);
    EXPECT_EQ(v.sent(), QByteArray());
    EXPECT_TRUE(v.prompts.shown.isEmpty());
}

} // namespace
