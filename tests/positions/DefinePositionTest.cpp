#include "DefinePosition.h"
#include "SimFrame.h"

#include <gtest/gtest.h>

namespace {

using F = DefinePosition::Field;
using C = DefinePosition::Check;

struct TextCase
{
    const char* text;
    C check;
    qint32 value;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class DefinePositionCheck : public testing::TestWithParam<TextCase>
{
};

TEST_P(DefinePositionCheck, ReadsOneField)
{
    const TextCase c = GetParam();
    qint32 value = -999999;
    EXPECT_EQ(DefinePosition::check(QString::fromUtf8(c.text), &value), c.check);
    EXPECT_EQ(value, c.check == C::Valid ? c.value : -999999) << "the value is only set when valid";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DefinePositionCheck,
    testing::Values(TextCase{"0", C::Valid, 0}, TextCase{"12700", C::Valid, 12700},
                    TextCase{"-12700", C::Valid, -12700}, TextCase{"+12700", C::Valid, 12700},
                    TextCase{"  -42\t", C::Valid, -42},
                    TextCase{"007", C::Valid, 7}, TextCase{"-0", C::Valid, 0},
                    TextCase{"000000000000000000000012700", C::Valid, 12700},
                    TextCase{"12701", C::OutOfRange, 0}, TextCase{"-12701", C::OutOfRange, 0},
                    TextCase{"2147483648", C::OutOfRange, 0},
                    TextCase{"-99999999999999999999999999999", C::OutOfRange, 0}, TextCase{"", C::NotInteger, 0},
                    TextCase{"   ", C::NotInteger, 0}, TextCase{"-", C::NotInteger, 0},
                    TextCase{"+", C::NotInteger, 0}, TextCase{"1.5", C::NotInteger, 0},
                    TextCase{"100.0", C::NotInteger, 0}, TextCase{"12a", C::NotInteger, 0},
                    TextCase{"abc", C::NotInteger, 0}, TextCase{"- 5", C::NotInteger, 0},
                    TextCase{"--5", C::NotInteger, 0}, TextCase{"+-5", C::NotInteger, 0},
                    TextCase{"1 000", C::NotInteger, 0}, TextCase{"1e3", C::NotInteger, 0},
                    TextCase{"0x10", C::NotInteger, 0}, TextCase{"1,000", C::NotInteger, 0},
                    TextCase{"\xd9\xa1\xd9\xa2", C::NotInteger, 0} /* Arabic-Indic digits */,
                    TextCase{"\xef\xbc\x95", C::NotInteger, 0} /* full-width 5 */));

struct Refusal
{
    F field;
    const char* text;
    const char* message;
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << "field " << r.field << " \"" << r.text << '"';
}

class DefinePositionRefusal : public testing::TestWithParam<Refusal>
{
};

TEST_P(DefinePositionRefusal, WarnsNamesTheRangeAndHandsBackTheField)
{
    const Refusal r = GetParam();
    SimFrame f;
    DefinePosition d(QStringLiteral("Define Position 2"), Position{1, 2, 3}, f.ops, f.prompts);
    DefinePosition::Texts texts{"10", "20", "30"};
    texts[static_cast<std::size_t>(r.field)] = QString::fromUtf8(r.text);

    EXPECT_EQ(d.accept(texts), r.field);
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.prompts.shown[0].text, QString::fromUtf8(r.message));
    EXPECT_EQ(f.prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(f.prompts.shown[0].buttons, Prompts::Buttons::Ok);
    // Nothing taken, not even the fields read before the refused one.
    EXPECT_EQ(d.held(), (Position{1, 2, 3}));
    EXPECT_FALSE(d.result().accepted);
    EXPECT_EQ(d.result().microns, (Position{1, 2, 3}));
    EXPECT_TRUE(f.port.written.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, DefinePositionRefusal,
    testing::Values(
        Refusal{F::X, "12701", "X is outside the allowed range.\nPlease enter an integer between -12700 and 12700."},
        Refusal{F::X, "-12701", "X is outside the allowed range.\nPlease enter an integer between -12700 and 12700."},
        Refusal{F::Y, "12701", "Y is outside the allowed range.\nPlease enter an integer between -12700 and 12700."},
        Refusal{F::Y, "-12701", "Y is outside the allowed range.\nPlease enter an integer between -12700 and 12700."},
        Refusal{F::Z, "12701", "Z is outside the allowed range.\nPlease enter an integer between -12700 and 12700."},
        Refusal{F::Z, "-12701", "Z is outside the allowed range.\nPlease enter an integer between -12700 and 12700."},
        Refusal{F::X, "", "X is not a whole number.\nPlease enter an integer between -12700 and 12700."},
        Refusal{F::Y, "2.5", "Y is not a whole number.\nPlease enter an integer between -12700 and 12700."},
        Refusal{F::Z, "z", "Z is not a whole number.\nPlease enter an integer between -12700 and 12700."}));

TEST(DefinePositionAccept, BoundsAreAcceptedAndBecomeTheHeldValues)
{
    SimFrame f;
    DefinePosition d(QStringLiteral("Define Home Position"), Position{1, 2, 3}, f.ops, f.prompts);
    EXPECT_FALSE(d.result().accepted);
    EXPECT_EQ(d.accept({"12700", "-12700", " 0 "}), std::nullopt);
    EXPECT_EQ(d.held(), (Position{12700, -12700, 0}));
    EXPECT_EQ(d.held(F::X), 12700);
    EXPECT_EQ(d.held(F::Y), -12700);
    EXPECT_EQ(d.held(F::Z), 0);
    EXPECT_TRUE(d.result().accepted);
    EXPECT_EQ(d.result().microns, (Position{12700, -12700, 0}));
    EXPECT_TRUE(f.prompts.shown.isEmpty());
}

TEST(DefinePositionAccept, FirstBadFieldIsReportedAloneAndACorrectedOkIsTaken)
{
    SimFrame f;
    DefinePosition d(QStringLiteral("Define Position 1"), Position{}, f.ops, f.prompts);
    EXPECT_EQ(d.accept({"5", "x", "99999"}), F::Y);
    EXPECT_EQ(d.accept({"5", "6", "99999"}), F::Z);
    ASSERT_EQ(f.prompts.shown.size(), 2);
    EXPECT_TRUE(f.prompts.shown[0].text.startsWith(QStringLiteral("Y is not a whole number.")));
    EXPECT_TRUE(f.prompts.shown[1].text.startsWith(QStringLiteral("Z is outside the allowed range.")));
    EXPECT_FALSE(d.result().accepted);
    EXPECT_EQ(d.accept({"5", "6", "7"}), std::nullopt);
    EXPECT_EQ(d.result().microns, (Position{5, 6, 7}));
    EXPECT_TRUE(d.result().accepted);
}

TEST(DefinePositionGetCurrent, FillsFromTheControllerRefreshesTheMarkerAndMayBeRepeated)
{
    SimFrame f;
    f.placeController(Position{25000, -13, 12}); // 1000, -0.52, 0.48 µm
    f.start();
    f.placeController(Position{-2512, 13, 2500}); // moved by hand since start-up
    DefinePosition d(QStringLiteral("Define Position 3"), Position{7, 7, 7}, f.ops, f.prompts);

    EXPECT_TRUE(d.getCurrentPosition());
    EXPECT_EQ(f.port.written, hex("630D"));
    EXPECT_EQ(d.held(), (Position{-100, 1, 100})) << "rounded half away from zero";
    EXPECT_EQ(f.ops.state().current, (Position{-2512, 13, 2500}));
    EXPECT_EQ(f.ops.state().displayed, (Position{-100, 1, 100}));
    EXPECT_EQ(f.ui.panel, (Position{-100, 1, 100}));
    EXPECT_EQ(f.ops.state().lastDrawn, f.ops.state().current);
    EXPECT_EQ(f.ui.markerMoves, QStringList{"25000,-13,12 -> -2512,13,2500"});
    EXPECT_FALSE(d.result().accepted);
    EXPECT_EQ(d.result().microns, (Position{-100, 1, 100}));

    f.placeController(Position{25000, -13, 12});
    f.port.written.clear();
    EXPECT_TRUE(d.getCurrentPosition());
    EXPECT_EQ(f.port.written, hex("630D"));
    EXPECT_EQ(d.held(), (Position{1000, -1, 0}));
    EXPECT_EQ(f.ui.markerMoves.size(), 2);
    EXPECT_EQ(f.state.stored[StoredSlots::Previous], (Position{0, 0, 0})) << "no move, no previous position";
    EXPECT_TRUE(f.prompts.shown.isEmpty());
}

TEST(DefinePositionGetCurrent, BeyondTheRangeIsShownOkRefusesCancelKeeps)
{
    SimFrame f;
    f.placeController(Position{-317525, 325000, 0}); // -12701, 13000, 0 µm
    f.start();
    DefinePosition d(QStringLiteral("Define Position 1"), Position{}, f.ops, f.prompts);
    EXPECT_TRUE(d.getCurrentPosition());
    EXPECT_EQ(d.held(), (Position{-12701, 13000, 0}));
    EXPECT_TRUE(f.prompts.shown.isEmpty()) << "no range test when fetching";
    EXPECT_EQ(d.accept({"-12701", "13000", "0"}), F::X);
    EXPECT_EQ(d.accept({"-12700", "13000", "0"}), F::Y);
    EXPECT_EQ(d.result().microns, (Position{-12701, 13000, 0}));
    EXPECT_FALSE(d.result().accepted);
}

TEST(DefinePositionGetCurrent, NoReplyLeavesTheHeldValuesAsTheyWere)
{
    for (Prompts::Answer answer : {Prompts::Answer::Yes, Prompts::Answer::No}) {
        qx410sim::Faults silent;
        silent.silent = true;
        silent.afterCommands = 3; // the placing move and two queries are answered
        SimFrame f(silent);
        f.placeController(Position{2500, 2500, 2500});
        f.ops.getPosition();
        f.ops.getPosition();
        f.ops.markerRefresh();
        f.placeController(Position{5000, 5000, 5000}); // the controller moved, then fell silent
        f.ui.markerMoves.clear();
        DefinePosition d(QStringLiteral("Define Position 2"), Position{4, 5, 6}, f.ops, f.prompts);
        f.prompts.answers = {answer};

        EXPECT_FALSE(d.getCurrentPosition());
        ASSERT_EQ(f.prompts.shown.size(), 1);
        EXPECT_EQ(f.prompts.shown[0].text, SerialLink::noReplyText) << "the recovery prompt";
        EXPECT_EQ(d.held(), (Position{4, 5, 6})) << "not the last known position";
        EXPECT_TRUE(f.ui.markerMoves.isEmpty());
        EXPECT_EQ(f.prompts.endedWith, answer == Prompts::Answer::No ? QList<int>{-1} : QList<int>{});
    }
}

} // namespace
