#include "ResolutionSetup.h"
#include "HardwareRig.h"
#include "Printing.h"

#include <gtest/gtest.h>

namespace {

const QString refusedText
    = QStringLiteral("Can not set resolution to high! \r\nAt high resolution, the speed has to be less than 1310");
const QString noteText = QStringLiteral(
    "NOTE: resolution change does not affect manual input and resolution displayed on VFD, please see help");

struct Bench : HardwareRig {
    Bench(bool high, quint16 velocity)
    {
        state.resolution = high ? ControlState::highResolution : ControlState::lowResolution;
        state.velocity = velocity;
        updatePanes();
        paneUpdates = 0;
    }

    QStringList notes;
    QByteArray sentAtNote;
    ResolutionSetup setup { layer, prompts, [this] { updatePanes(); },
        [this](const QString& text) {
            notes << text;
            sentAtNote = sent();
        } };
};

struct OkCase {
    const char* name;
    bool wasHigh;
    int velocity;
    bool chooseHigh;
    const char* bytes; // the velocity command; nullptr when refused
};

void PrintTo(const OkCase& c, std::ostream* os)
{
    *os << c.name;
}

class ResolutionOk : public testing::TestWithParam<OkCase> { };

TEST_P(ResolutionOk, AppliesOrRefuses)
{
    const OkCase& c = GetParam();
    Bench b(c.wasHigh, static_cast<quint16>(c.velocity));
    const QString velocityPaneBefore = b.velocityPane;

    const bool applied = b.setup.accept(ResolutionChoice { c.chooseHigh });

    EXPECT_EQ(b.state.velocity, c.velocity) << "the velocity setting is never this dialog's business";
    EXPECT_EQ(b.velocityPane, velocityPaneBefore);
    if (!c.bytes) {
        EXPECT_FALSE(applied) << "the dialog must stay open";
        ASSERT_EQ(b.prompts.shown.size(), 1);
        EXPECT_EQ(b.prompts.shown[0].text, refusedText);
        EXPECT_EQ(b.prompts.shown[0].caption, QStringLiteral("Warning"));
        EXPECT_EQ(b.prompts.shown[0].icon, Prompts::Icon::Stop);
        EXPECT_EQ(b.prompts.shown[0].buttons, Prompts::Buttons::Ok);
        EXPECT_EQ(b.state.resolution, ControlState::lowResolution) << "a refusal leaves the setting at low";
        // The pane shows the setting: untouched when it was low already,
        // brought down to LOW when the refusal changed the setting.
        EXPECT_EQ(b.resolutionPane, QStringLiteral("\tRes:   LOW"));
        EXPECT_EQ(b.paneUpdates, c.wasHigh ? 1 : 0);
        EXPECT_TRUE(b.notes.isEmpty()) << "no note on a refusal";
        EXPECT_EQ(b.sent(), QByteArray()) << "nothing may be sent";
        EXPECT_EQ(b.slept(), 0);
        return;
    }

    EXPECT_TRUE(applied);
    EXPECT_TRUE(b.prompts.shown.isEmpty());
    EXPECT_EQ(b.state.resolution, c.chooseHigh ? ControlState::highResolution : ControlState::lowResolution);
    EXPECT_EQ(b.paneUpdates, 1) << "the pane is set on every OK, changed or not";
    EXPECT_EQ(b.resolutionPane, c.chooseHigh ? QStringLiteral("\tRes:   HIGH") : QStringLiteral("\tRes:   LOW"));
    EXPECT_EQ(b.notes, QStringList { noteText }) << "the note is drawn on every OK, changed or not";
    EXPECT_EQ(b.sentAtPaneUpdate, QByteArray()) << "pane, then note, then the command";
    EXPECT_EQ(b.sentAtNote, QByteArray());
    EXPECT_EQ(b.sent(), hex(c.bytes));
    EXPECT_EQ(b.slept(), 100) << "send and settle: 100 ms after the write";
    EXPECT_EQ(b.purges(), 1) << "send and settle: input purge";
    EXPECT_EQ(b.controller.velocityWord(), static_cast<quint16>(c.velocity + (c.chooseHigh ? 0x8000 : 0)));
}

INSTANTIATE_TEST_SUITE_P(Choices, ResolutionOk,
    testing::Values(OkCase { "LowToHigh", false, 1000, true, "56 E8 83 0D" },
        OkCase { "HighToLow", true, 1000, false, "56 E8 03 0D" },
        OkCase { "HighAgainAt1310", true, 1310, true, "56 1E 85 0D" },
        OkCase { "LowToHighAt1310", false, 1310, true, "56 1E 85 0D" },
        OkCase { "LowAgainIsSentAgain", false, 1000, false, "56 E8 03 0D" },
        OkCase { "LowToHighAt0", false, 0, true, "56 00 80 0D" },
        OkCase { "LowAt6550", false, 6550, false, "56 96 19 0D" },
        OkCase { "HighToLowAt1400", true, 1400, false, "56 78 05 0D" },
        OkCase { "LowToHighAt1311IsRefused", false, 1311, true, nullptr },
        OkCase { "LowToHighAt1400IsRefused", false, 1400, true, nullptr },
        OkCase { "HighAgainAt1400IsRefused", true, 1400, true, nullptr }),
    [](const testing::TestParamInfo<OkCase>& info) { return std::string(info.param.name); });

TEST(ResolutionSetup, OpensWithTheResolutionSetting)
{
    Bench b(false, 1000);
    EXPECT_EQ(b.setup.current(), ResolutionChoice { false });
    b.state.resolution = ControlState::highResolution;
    EXPECT_EQ(b.setup.current(), ResolutionChoice { true });
    // Any code other than low counts as high, as in the pane.
    b.state.resolution = 1020;
    EXPECT_EQ(b.setup.current(), ResolutionChoice { true });
}

TEST(ResolutionSetup, RefusalThenLowInOneVisit)
{
    Bench b(true, 1400);
    QList<bool> results;
    ResolutionChoice shownWith;
    const bool applied = b.setup.run([&](const ResolutionChoice& initial, const ResolutionSetup::Apply& ok) {
        shownWith = initial;
        results << ok(ResolutionChoice { true });
        results << ok(ResolutionChoice { false });
        return results.last();
    });
    EXPECT_TRUE(applied);
    EXPECT_EQ(shownWith, ResolutionChoice { true });
    EXPECT_EQ(results, QList<bool>({ false, true }));
    ASSERT_EQ(b.prompts.shown.size(), 1);
    EXPECT_EQ(b.prompts.shown[0].text, refusedText);
    EXPECT_EQ(b.state.resolution, ControlState::lowResolution);
    EXPECT_EQ(b.resolutionPane, QStringLiteral("\tRes:   LOW"));
    EXPECT_EQ(b.notes, QStringList { noteText });
    EXPECT_EQ(b.sent(), hex("56 78 05 0D"));
}

TEST(ResolutionSetup, CancelAfterARefusalKeepsTheSettingAndThePaneAtLow)
{
    Bench b(true, 1400);
    EXPECT_FALSE(b.setup.run([](const ResolutionChoice&, const ResolutionSetup::Apply& ok) {
        EXPECT_FALSE(ok(ResolutionChoice { true }));
        return false;
    }));
    EXPECT_EQ(b.state.resolution, ControlState::lowResolution);
    EXPECT_EQ(b.resolutionPane, QStringLiteral("\tRes:   LOW")) << "the pane must not go on claiming HIGH";
    EXPECT_EQ(b.sent(), QByteArray());
}

TEST(ResolutionSetup, CancelSendsAndChangesNothing)
{
    for (bool high : { false, true }) {
        Bench b(high, 1000);
        const QString paneBefore = b.resolutionPane;
        EXPECT_FALSE(b.setup.run([](const ResolutionChoice&, const ResolutionSetup::Apply&) { return false; }));
        EXPECT_EQ(b.state.resolution, high ? ControlState::highResolution : ControlState::lowResolution);
        EXPECT_EQ(b.paneUpdates, 0);
        EXPECT_EQ(b.resolutionPane, paneBefore);
        EXPECT_TRUE(b.notes.isEmpty());
        EXPECT_EQ(b.sent(), QByteArray());
        EXPECT_TRUE(b.prompts.shown.isEmpty());
    }
}

TEST(ResolutionSetup, NothingOpensWhileAMoveIsAwaited)
{
    Bench b(false, 1000);
    b.state.busy = true;
    bool asked = false;
    EXPECT_FALSE(b.setup.run([&](const ResolutionChoice&, const ResolutionSetup::Apply&) {
        asked = true;
        return true;
    }));
    EXPECT_FALSE(asked);
    EXPECT_EQ(b.sent(), QByteArray());
}

} // namespace
