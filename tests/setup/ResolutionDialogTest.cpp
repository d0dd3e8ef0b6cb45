#include "ResolutionDialog.h"
#include "HardwareOperator.h"
#include "HardwareRig.h"
#include "Printing.h"
#include "ResolutionNote.h"
#include "ResolutionSetup.h"

#include <QGroupBox>
#include <QHelpEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolTip>

#include "WidgetProbe.h"

#include <gtest/gtest.h>

namespace {

using WidgetProbe::child;
using WidgetProbe::groupTitle;
using WidgetProbe::toolTipShownOver;

// What the tooltip machinery shows when the pointer rests on w.
TEST(ResolutionDialogLook, TitleLabelsAndTooltips)
{
    ResolutionDialog dialog(ResolutionChoice { false });
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Resolution"));
    EXPECT_TRUE(dialog.isModal());

    auto* high = child<QRadioButton>(dialog, "highRadio");
    auto* low = child<QRadioButton>(dialog, "lowRadio");
    ASSERT_TRUE(high && low);
    EXPECT_EQ(high->text(), QStringLiteral("High - 0.04 \u00B5m"));
    EXPECT_EQ(low->text(), QStringLiteral("Low  - 0.20 \u00B5m")) << "two blanks after Low";
    EXPECT_EQ(high->toolTip(), QStringLiteral("Step Size = High Resolution"));
    EXPECT_EQ(low->toolTip(), QStringLiteral("Step Size = Low Resolution"));
    EXPECT_EQ(groupTitle(high), QStringLiteral("Resolution"));
    EXPECT_EQ(groupTitle(low), QStringLiteral("Resolution"));
    EXPECT_EQ(dialog.findChildren<QRadioButton*>().size(), 2);

    QStringList captions;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        captions << b->text();
    captions.sort();
    EXPECT_EQ(captions, QStringList({ "Cancel", "OK" }));
    EXPECT_TRUE(child<QPushButton>(dialog, "okButton")->isDefault());

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(toolTipShownOver(high), QStringLiteral("Step Size = High Resolution"));
    EXPECT_EQ(toolTipShownOver(low), QStringLiteral("Step Size = Low Resolution"));
    dialog.hide();
}

class ResolutionDialogInitial : public testing::TestWithParam<bool> { };

TEST_P(ResolutionDialogInitial, ChecksTheSettingAndFollowsClicks)
{
    const bool high = GetParam();
    ResolutionDialog dialog(ResolutionChoice { high });
    auto* highRadio = child<QRadioButton>(dialog, "highRadio");
    auto* lowRadio = child<QRadioButton>(dialog, "lowRadio");
    EXPECT_EQ(highRadio->isChecked(), high);
    EXPECT_EQ(lowRadio->isChecked(), !high);
    EXPECT_EQ(dialog.choice(), ResolutionChoice { high });

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(high ? lowRadio : highRadio, Qt::LeftButton);
    EXPECT_EQ(dialog.choice(), ResolutionChoice { !high });
    EXPECT_NE(highRadio->isChecked(), lowRadio->isChecked()) << "one choice at a time";
    dialog.hide();
}

INSTANTIATE_TEST_SUITE_P(Settings, ResolutionDialogInitial, testing::Values(false, true));

TEST(ResolutionDialogClose, OkClosesOnlyWhenAppliedOthersDoNotApply)
{
    {
        QList<ResolutionChoice> given;
        bool answer = false;
        ResolutionDialog dialog(ResolutionChoice { false }, [&](const ResolutionChoice& c) {
            given << c;
            return answer;
        });
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        child<QRadioButton>(dialog, "highRadio")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible()) << "a refused choice keeps the dialog open";
        answer = true;
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible()) << "Enter presses OK";
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(given, QList<ResolutionChoice>({ ResolutionChoice { true }, ResolutionChoice { true } }));
    }
    const std::function<void(ResolutionDialog&)> ways[] = {
        [](ResolutionDialog& d) { QTest::mouseClick(child<QPushButton>(d, "cancelButton"), Qt::LeftButton); },
        [](ResolutionDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](ResolutionDialog& d) { d.close(); },
    };
    for (const auto& way : ways) {
        int applied = 0;
        ResolutionDialog dialog(ResolutionChoice { false }, [&](const ResolutionChoice&) { return ++applied > 0; });
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        child<QRadioButton>(dialog, "highRadio")->setChecked(true);
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        way(dialog);
        EXPECT_EQ(rejected.count(), 1);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(applied, 0);
    }
}

// The whole visit: the real modal dialog over a main window with a message
// bar, the setup behind it, the simulated controller behind the link.

struct Visit : HardwareRig {
    Visit(bool high, quint16 velocity)
    {
        state.resolution = high ? ControlState::highResolution : ControlState::lowResolution;
        state.velocity = velocity;
        updatePanes();
        paneUpdates = 0;
        window.resize(760, 300);
        window.statusBar()->showMessage(QStringLiteral("For Help, press F1"));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    bool open(const std::function<void(ResolutionDialog&)>& operatorDoes)
    {
        return playOperator<ResolutionDialog, bool>(
            [this] {
                return setup.run([this](const ResolutionChoice& initial, const ResolutionSetup::Apply& ok) {
                    return ResolutionDialog::askWithDialog(&window, initial, ok);
                });
            },
            operatorDoes);
    }

    QMainWindow window;
    ResolutionSetup setup { layer, prompts, [this] { updatePanes(); },
        [this](const QString& text) { ResolutionNote::show(window.statusBar(), text); } };
};

void chooseAndOk(ResolutionDialog& d, const char* radio)
{
    QTest::mouseClick(child<QRadioButton>(d, radio), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(d, "okButton"), Qt::LeftButton);
}

TEST(ResolutionDialogVisit, HighAppliedSendsAndDrawsTheNote)
{
    Visit v(false, 1000);
    EXPECT_TRUE(v.open([](ResolutionDialog& d) { chooseAndOk(d, "highRadio"); }));
    EXPECT_EQ(v.state.resolution, ControlState::highResolution);
    EXPECT_EQ(v.resolutionPane, QStringLiteral("\tRes:   HIGH"));
    EXPECT_EQ(v.sent(), hex("56 E8 83 0D"));
    const ResolutionNote* note = ResolutionNote::find(v.window.statusBar());
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), ResolutionSetup::noteText);
    EXPECT_EQ(v.window.statusBar()->currentMessage(), QStringLiteral("For Help, press F1"))
        << "the note is drawn over the bar, not made its text";
}

TEST(ResolutionDialogVisit, RefusalKeepsItOpenThenLowIsApplied)
{
    Visit v(true, 1400);
    bool openAfterRefusal = false;
    bool highCheckedAtStart = false;
    EXPECT_TRUE(v.open([&](ResolutionDialog& d) {
        highCheckedAtStart = d.choice().high;
        QTest::mouseClick(child<QPushButton>(d, "okButton"), Qt::LeftButton);
        openAfterRefusal = d.isVisible();
        chooseAndOk(d, "lowRadio");
    }));
    EXPECT_TRUE(highCheckedAtStart);
    EXPECT_TRUE(openAfterRefusal);
    ASSERT_EQ(v.prompts.shown.size(), 1);
    EXPECT_EQ(v.prompts.shown[0].text, ResolutionSetup::highRefusedText);
    EXPECT_EQ(v.prompts.shown[0].icon, Prompts::Icon::Stop);
    EXPECT_EQ(v.state.resolution, ControlState::lowResolution);
    EXPECT_EQ(v.sent(), hex("56 78 05 0D"));
}

TEST(ResolutionDialogVisit, CancelSendsNothingAndDrawsNoNote)
{
    Visit v(false, 1000);
    EXPECT_FALSE(v.open([](ResolutionDialog& d) {
        child<QRadioButton>(d, "highRadio")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(d, "cancelButton"), Qt::LeftButton);
    }));
    EXPECT_EQ(v.state.resolution, ControlState::lowResolution);
    EXPECT_EQ(v.paneUpdates, 0);
    EXPECT_EQ(v.sent(), QByteArray());
    EXPECT_EQ(ResolutionNote::find(v.window.statusBar()), nullptr);
}

} // namespace
