#include "VelocitySetup.h"
#include "HardwareRig.h"
#include "Printing.h"
#include "VelocityWord.h"

#include <gtest/gtest.h>

namespace {

constexpr quint16 oldVelocity = 700;

struct Bench : HardwareRig {
    explicit Bench(bool high)
    {
        state.resolution = high ? ControlState::highResolution : ControlState::lowResolution;
        state.velocity = oldVelocity;
        updatePanes();
        paneUpdates = 0;
    }

    VelocitySetup setup { layer, prompts, [this] { updatePanes(); } };
};

// OK with one entry: accepted (the word on the line) or refused (the message).
struct OkCase {
    const char* name;
    bool high;
    const char* entry;
    int velocity; // the velocity setting afterwards; -1 when refused
    const char* bytes; // the velocity command; nullptr when refused
    const char* refusal; // the message; nullptr when accepted
};

void PrintTo(const OkCase& c, std::ostream* os)
{
    *os << c.name;
}

const char* const range = "Please enter a whole number between 0 and 6550.";
const char* const over1310 = "Velocity must be less than 1310 in high resolution mode";

class VelocityOk : public testing::TestWithParam<OkCase> { };

TEST_P(VelocityOk, AppliesOrRefuses)
{
    const OkCase& c = GetParam();
    Bench b(c.high);
    const QString resolutionPaneBefore = b.resolutionPane;
    const QString velocityPaneBefore = b.velocityPane;

    const bool applied = b.setup.accept(VelocityChoice { QString::fromUtf8(c.entry) });

    // The resolution setting is never this dialog's business.
    EXPECT_EQ(b.state.resolution, c.high ? ControlState::highResolution : ControlState::lowResolution);
    EXPECT_EQ(b.resolutionPane, resolutionPaneBefore);
    if (c.refusal) {
        EXPECT_FALSE(applied) << "the dialog must stay open";
        ASSERT_EQ(b.prompts.shown.size(), 1);
        EXPECT_EQ(b.prompts.shown[0].text, QString::fromUtf8(c.refusal));
        EXPECT_EQ(b.prompts.shown[0].caption, QStringLiteral("Warning"));
        EXPECT_EQ(b.prompts.shown[0].icon, Prompts::Icon::Exclamation);
        EXPECT_EQ(b.prompts.shown[0].buttons, Prompts::Buttons::Ok);
        EXPECT_EQ(b.state.velocity, oldVelocity);
        EXPECT_EQ(b.paneUpdates, 0);
        EXPECT_EQ(b.velocityPane, velocityPaneBefore);
        EXPECT_EQ(b.sent(), QByteArray()) << "nothing may be sent";
        EXPECT_EQ(b.slept(), 0);
        EXPECT_EQ(b.controller.velocityWord(), qx410sim::SimController::kPowerUpVelocityWord);
        return;
    }

    EXPECT_TRUE(applied);
    EXPECT_TRUE(b.prompts.shown.isEmpty());
    EXPECT_EQ(b.state.velocity, c.velocity);
    EXPECT_EQ(b.paneUpdates, 1);
    EXPECT_EQ(b.velocityPane, QStringLiteral("\tVelocity:   %1").arg(c.velocity));
    EXPECT_EQ(b.sentAtPaneUpdate, QByteArray()) << "the setting and pane change before the command is sent";
    EXPECT_EQ(b.sent(), hex(c.bytes));
    EXPECT_EQ(b.slept(), 100) << "send and settle: 100 ms after the write";
    EXPECT_EQ(b.purges(), 1) << "send and settle: input purge";
    EXPECT_EQ(b.controller.velocityWord(), VelocityWord::encode(c.velocity, c.high));
}

INSTANTIATE_TEST_SUITE_P(Entries, VelocityOk,
    testing::Values(OkCase { "Low1000", false, "1000", 1000, "56 E8 03 0D", nullptr },
        OkCase { "High1000", true, "1000", 1000, "56 E8 83 0D", nullptr },
        OkCase { "High1310IsAllowed", true, "1310", 1310, "56 1E 85 0D", nullptr },
        OkCase { "High1311IsRefused", true, "1311", -1, nullptr, over1310 },
        OkCase { "High6550IsRefusedBy1310", true, "6550", -1, nullptr, over1310 },
        OkCase { "Low1311", false, "1311", 1311, "56 1F 05 0D", nullptr },
        OkCase { "Low6550", false, "6550", 6550, "56 96 19 0D", nullptr },
        OkCase { "Low6551IsOutOfRange", false, "6551", -1, nullptr, range },
        OkCase { "High6551IsOutOfRangeFirst", true, "6551", -1, nullptr, range },
        OkCase { "Low0", false, "0", 0, "56 00 00 0D", nullptr },
        OkCase { "High0", true, "0", 0, "56 00 80 0D", nullptr },
        OkCase { "LowByteZeroIsSent", false, "1024", 1024, "56 00 04 0D", nullptr },
        OkCase { "SameAsBefore", false, "700", 700, "56 BC 02 0D", nullptr },
        OkCase { "BlanksAround", false, "  1200 ", 1200, "56 B0 04 0D", nullptr },
        OkCase { "LeadingZeros", true, "01310", 1310, "56 1E 85 0D", nullptr },
        OkCase { "Empty", false, "", -1, nullptr, range }, OkCase { "Negative", false, "-1", -1, nullptr, range },
        OkCase { "Fraction", false, "12.5", -1, nullptr, range },
        OkCase { "Letters", false, "fast", -1, nullptr, range },
        OkCase { "Huge", false, "99999999999999999999", -1, nullptr, range },
        OkCase { "WrapsTo16BitsIfNotChecked", false, "65536", -1, nullptr, range }),
    [](const testing::TestParamInfo<OkCase>& info) { return std::string(info.param.name); });

// The entry rule alone.
struct ParseCase {
    const char* entry;
    int value; // -1: not a whole number in 0 to 6550
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << '"' << c.entry << '"';
}

class VelocityEntryRule : public testing::TestWithParam<ParseCase> { };

TEST_P(VelocityEntryRule, WholeNumberFrom0To6550)
{
    const ParseCase& c = GetParam();
    const std::optional<int> value = VelocitySetup::parseEntry(QString::fromUtf8(c.entry));
    if (c.value < 0)
        EXPECT_EQ(value, std::nullopt);
    else
        EXPECT_EQ(value, c.value);
}

INSTANTIATE_TEST_SUITE_P(Texts, VelocityEntryRule,
    testing::Values(ParseCase { "0", 0 }, ParseCase { "6550", 6550 }, ParseCase { "1310", 1310 },
        ParseCase { "007", 7 }, ParseCase { "\t42\n", 42 }, ParseCase { "000000006550", 6550 },
        ParseCase { "000000006551", -1 }, ParseCase { "6551", -1 }, ParseCase { "", -1 }, ParseCase { "   ", -1 },
        ParseCase { "-0", -1 }, ParseCase { "+5", -1 }, ParseCase { "1e3", -1 }, ParseCase { "0x10", -1 },
        ParseCase { "12 3", -1 }, ParseCase { "1,000", -1 },
        ParseCase { "\xd9\xa1\xd9\xa2", -1 }, // Arabic-Indic digits one, two
        ParseCase { "\xef\xbc\x91\xef\xbc\x92", -1 }, // full-width one, two
        ParseCase { "4294967296", -1 }, ParseCase { "99999999999999999999999999", -1 }));

TEST(VelocitySetup, OpensWithTheVelocitySetting)
{
    Bench b(false);
    b.state.velocity = 1234;
    EXPECT_EQ(b.setup.current(), VelocityChoice { QStringLiteral("1234") });
    b.state.velocity = 0;
    EXPECT_EQ(b.setup.current(), VelocityChoice { QStringLiteral("0") });
}

TEST(VelocitySetup, RefusalThenAcceptanceInOneVisit)
{
    Bench b(true);
    QList<bool> results;
    VelocityChoice shownWith;
    const bool applied = b.setup.run([&](const VelocityChoice& initial, const VelocitySetup::Apply& ok) {
        shownWith = initial;
        for (const char* entry : { "7000", "1311", "1310" }) {
            results << ok(VelocityChoice { QString::fromLatin1(entry) });
            if (results.last())
                return true;
        }
        return false;
    });
    EXPECT_TRUE(applied);
    EXPECT_EQ(shownWith, VelocityChoice { QStringLiteral("700") });
    EXPECT_EQ(results, QList<bool>({ false, false, true }));
    ASSERT_EQ(b.prompts.shown.size(), 2);
    EXPECT_EQ(b.prompts.shown[0].text, QString::fromLatin1(range));
    EXPECT_EQ(b.prompts.shown[1].text, QString::fromLatin1(over1310));
    EXPECT_EQ(b.state.velocity, 1310);
    EXPECT_EQ(b.sent(), hex("56 1E 85 0D")) << "only the accepted entry is sent";
}

TEST(VelocitySetup, CancelSendsAndChangesNothing)
{
    Bench b(false);
    const bool applied = b.setup.run([](const VelocityChoice&, const VelocitySetup::Apply&) { return false; });
    EXPECT_FALSE(applied);
    EXPECT_EQ(b.state.velocity, oldVelocity);
    EXPECT_EQ(b.paneUpdates, 0);
    EXPECT_EQ(b.sent(), QByteArray());
    EXPECT_TRUE(b.prompts.shown.isEmpty());
}

TEST(VelocitySetup, NothingOpensWhileAMoveIsAwaited)
{
    Bench b(false);
    b.state.busy = true;
    bool asked = false;
    EXPECT_FALSE(b.setup.run([&](const VelocityChoice&, const VelocitySetup::Apply&) {
        asked = true;
        return true;
    }));
    EXPECT_FALSE(asked) << "a velocity command now would purge the move's completion byte";
    EXPECT_EQ(b.sent(), QByteArray());
}

} // namespace
