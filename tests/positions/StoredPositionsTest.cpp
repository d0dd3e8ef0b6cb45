#include "DefinePosition.h"
#include "SimFrame.h"
#include "StoredPositions.h"

#include <gtest/gtest.h>

namespace {

using S = StoredSlots;

Position microns(const SimFrame& f, int which)
{
    return f.state.stored[static_cast<std::size_t>(which)];
}

TEST(StoredPositionsTitles, OnePerStoredPosition)
{
    EXPECT_EQ(StoredPositions::dialogTitle(S::Home), QStringLiteral("Define Home Position"));
    EXPECT_EQ(StoredPositions::dialogTitle(S::Position1), QStringLiteral("Define Position 1"));
    EXPECT_EQ(StoredPositions::dialogTitle(S::Position2), QStringLiteral("Define Position 2"));
    EXPECT_EQ(StoredPositions::dialogTitle(S::Position3), QStringLiteral("Define Position 3"));
    EXPECT_EQ(StoredPositions::dialogTitle(S::Previous), QStringLiteral("Previous Position"));
    EXPECT_EQ(StoredPositions::dialogTitle(S::StoredCount), QString());
    EXPECT_EQ(StoredPositions::dialogTitle(-1), QString());
}

// Go To Home Position, Go To Position 1..3 and Return, one each.
class StoredPositionsGoTo : public testing::TestWithParam<int>
{
};

TEST_P(StoredPositionsGoTo, MovesThereAndRecordsWhereTheMarkerStood)
{
    const int which = GetParam();
    SimFrame f;
    f.placeController(Position{2500, -5000, 250}); // 100, -200, 10 µm
    f.start();
    for (int i = 0; i < S::StoredCount; ++i)
        f.state.stored[static_cast<std::size_t>(i)] = Position{1000 + i * 111, -2000 - i * 222, i * 33};
    const Position goal = microns(f, which);
    StoredPositions positions(f.state, f.ops, f.prompts);

    EXPECT_EQ(positions.target(which), Units::micronsToMicrosteps(goal));
    EXPECT_EQ(positions.goTo(which), LinkStatus::Ok);

    // The move goes first, nothing before it; then the two position queries.
    EXPECT_EQ(f.port.written, Commands::move(Units::micronsToMicrosteps(goal)) + hex("630D630D"));
    EXPECT_EQ(f.controllerAt(), Units::micronsToMicrosteps(goal));
    EXPECT_EQ(f.ops.state().current, Units::micronsToMicrosteps(goal));
    EXPECT_EQ(f.ops.state().lastDrawn, f.ops.state().current);
    EXPECT_EQ(f.ops.state().displayed, goal);
    EXPECT_FALSE(f.ops.state().busy);
    EXPECT_EQ(microns(f, S::Previous), (Position{100, -200, 10}));
    for (int i = 0; i < S::Previous; ++i)
        EXPECT_EQ(microns(f, i), (Position{1000 + i * 111, -2000 - i * 222, i * 33})) << "stored " << i;
}

INSTANTIATE_TEST_SUITE_P(EachStored, StoredPositionsGoTo,
                         testing::Values(S::Home, S::Position1, S::Position2, S::Position3, S::Previous));

TEST(StoredPositionsReturn, TwoPositionsSwapOnEveryReturn)
{
    SimFrame f;
    // A, off the micrometre grid: 100.52, -100.48, 0.48 µm.
    const Position a{2513, -2512, 12};
    const Position aMicrons{101, -100, 0};
    const Position b{3000, 4000, -500};
    f.placeController(a);
    f.start();
    f.state.stored[S::Position1] = b;
    StoredPositions positions(f.state, f.ops, f.prompts);

    ASSERT_EQ(positions.goTo(S::Position1), LinkStatus::Ok);
    EXPECT_EQ(f.controllerAt(), Units::micronsToMicrosteps(b));
    EXPECT_EQ(microns(f, S::Previous), aMicrons);

    // Each Return goes where the previous position pointed and leaves behind
    // the point it started from.
    for (int round = 0; round < 2; ++round) {
        f.port.written.clear();
        ASSERT_EQ(positions.goTo(S::Previous), LinkStatus::Ok);
        EXPECT_EQ(f.port.written, Commands::move(Units::micronsToMicrosteps(aMicrons)) + hex("630D630D"));
        EXPECT_EQ(f.controllerAt(), (Position{2525, -2500, 0})) << "A, quantised to whole micrometres";
        EXPECT_EQ(microns(f, S::Previous), b);

        f.port.written.clear();
        ASSERT_EQ(positions.goTo(S::Previous), LinkStatus::Ok);
        EXPECT_EQ(f.port.written, Commands::move(Units::micronsToMicrosteps(b)) + hex("630D630D"));
        EXPECT_EQ(f.controllerAt(), Units::micronsToMicrosteps(b));
        EXPECT_EQ(microns(f, S::Previous), aMicrons);
    }
    EXPECT_EQ(microns(f, S::Position1), b) << "Return leaves the other positions alone";
}

TEST(StoredPositionsReturn, FirstStartWithoutSettingsReturnsToTheOrigin)
{
    SimFrame f;
    f.placeController(Position{125000, -2500, 50}); // 5000, -100, 2 µm
    f.start();
    for (const Position& p : f.state.stored)
        EXPECT_EQ(p, (Position{0, 0, 0}));
    StoredPositions positions(f.state, f.ops, f.prompts);
    EXPECT_EQ(positions.goTo(S::Previous), LinkStatus::Ok);
    EXPECT_EQ(f.port.written, Commands::move(Position{0, 0, 0}) + hex("630D630D"));
    EXPECT_EQ(f.controllerAt(), (Position{0, 0, 0}));
    EXPECT_EQ(microns(f, S::Previous), (Position{5000, -100, 2}));
}

TEST(StoredPositionsGoToRange, NoRangeTestTheControllerGetsWhatIsStored)
{
    SimFrame f;
    f.start();
    f.state.stored[S::Home] = Position{20000, -30000, 5}; // beyond the workspace, as read from a settings file
    StoredPositions positions(f.state, f.ops, f.prompts);
    EXPECT_EQ(positions.target(S::Home), (Position{500000, -750000, 125}));
    EXPECT_EQ(positions.goTo(S::Home), LinkStatus::Ok);
    EXPECT_EQ(f.port.written, Commands::move(Position{500000, -750000, 125}) + hex("630D630D"));
    EXPECT_EQ(f.controllerAt(), (Position{500000, -750000, 125}));
    EXPECT_TRUE(f.prompts.shown.isEmpty());
}

TEST(StoredPositionsGoToRange, PositionWhoseMicrostepsDoNotFitIsRefused)
{
    SimFrame f;
    f.start();
    f.state.stored[S::Position2] = Position{0, 90000000, 0}; // from a hand-edited settings file
    StoredPositions positions(f.state, f.ops, f.prompts);
    EXPECT_EQ(positions.goTo(S::Position2), std::nullopt);
    EXPECT_TRUE(f.port.written.isEmpty());
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_TRUE(f.prompts.shown[0].text.startsWith(QStringLiteral("Y = 90000000 µm lies outside")));
    EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Exclamation);
}

TEST(StoredPositionsRefusals, NothingRunsWhileBusyOrForAnUnknownPosition)
{
    SimFrame f;
    f.start();
    f.state.stored[S::Position2] = Position{1, 2, 3};
    StoredPositions positions(f.state, f.ops, f.prompts);
    int asked = 0;
    const StoredPositions::Ask ask = [&](DefinePosition& d) {
        ++asked;
        d.accept({"7", "8", "9"});
        return d.result();
    };

    f.ops.state().busy = true;
    for (int i = 0; i < S::StoredCount; ++i) {
        EXPECT_EQ(positions.goTo(i), std::nullopt) << i;
        EXPECT_FALSE(positions.define(i, ask).has_value()) << i;
    }
    f.ops.state().busy = false;
    for (int i : {-1, static_cast<int>(S::StoredCount), 99}) {
        EXPECT_EQ(positions.goTo(i), std::nullopt) << i;
        EXPECT_FALSE(positions.define(i, ask).has_value()) << i;
        EXPECT_EQ(positions.target(i), (Position{0, 0, 0})) << i;
    }
    EXPECT_FALSE(positions.define(S::Position2, StoredPositions::Ask()).has_value());

    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(f.port.written.isEmpty());
    EXPECT_EQ(microns(f, S::Position2), (Position{1, 2, 3}));
    EXPECT_EQ(microns(f, S::Previous), (Position{0, 0, 0}));
}

// Define Home Position .. Define Previous Position, one each.
class StoredPositionsDefine : public testing::TestWithParam<int>
{
};

TEST_P(StoredPositionsDefine, DialogOpensWithTheStoredTripleAndItsResultIsStored)
{
    const int which = GetParam();
    SimFrame f;
    f.start();
    for (int i = 0; i < S::StoredCount; ++i)
        f.state.stored[static_cast<std::size_t>(i)] = Position{i + 1, -(i + 1), 10 * i};
    StoredPositions positions(f.state, f.ops, f.prompts);

    QString shownTitle;
    Position shownHeld;
    const std::optional<DefinePositionResult> result = positions.define(which, [&](DefinePosition& d) {
        shownTitle = d.title();
        shownHeld = d.held();
        EXPECT_EQ(d.accept({" 12700", "-12700 ", "+42"}), std::nullopt);
        return d.result();
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->accepted);
    EXPECT_EQ(shownTitle, StoredPositions::dialogTitle(which));
    EXPECT_EQ(shownHeld, (Position{which + 1, -(which + 1), 10 * which}));
    for (int i = 0; i < S::StoredCount; ++i) {
        const Position expected = i == which ? Position{12700, -12700, 42} : Position{i + 1, -(i + 1), 10 * i};
        EXPECT_EQ(microns(f, i), expected) << "stored " << i;
    }
    EXPECT_TRUE(f.port.written.isEmpty()) << "defining sends nothing";
    EXPECT_TRUE(f.prompts.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EachStored, StoredPositionsDefine,
                         testing::Values(S::Home, S::Position1, S::Position2, S::Position3, S::Previous));

TEST(StoredPositionsDefineCancel, TypingThenCancelKeepsTheOldValues)
{
    SimFrame f;
    f.start();
    f.state.stored[S::Position3] = Position{-5, 6, -7};
    StoredPositions positions(f.state, f.ops, f.prompts);
    // The operator types, tries OK once (Y is refused after X was read), then
    // cancels: nothing typed is kept.
    const std::optional<DefinePositionResult> result = positions.define(S::Position3, [&](DefinePosition& d) {
        EXPECT_EQ(d.accept({"100", "99999", "0"}), DefinePosition::Y);
        return d.result();
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(result->accepted);
    EXPECT_EQ(microns(f, S::Position3), (Position{-5, 6, -7}));
}

TEST(StoredPositionsDefineCancel, GetCurrentPositionThenCancelStoresTheFetchedPosition)
{
    SimFrame f;
    f.placeController(Position{25000, -13, 12});
    f.start();
    f.state.stored[S::Home] = Position{1, 1, 1};
    StoredPositions positions(f.state, f.ops, f.prompts);
    const std::optional<DefinePositionResult> result = positions.define(S::Home, [&](DefinePosition& d) {
        EXPECT_TRUE(d.getCurrentPosition());
        return d.result(); // Cancel
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(result->accepted);
    EXPECT_EQ(microns(f, S::Home), (Position{1000, -1, 0}));
}

TEST(StoredPositionsDefineCancel, PreviousPositionFromTheControllerBeyondTheRange)
{
    SimFrame f;
    f.placeController(Position{325000, 0, -400000}); // 13000, 0, -16000 µm
    f.start();
    f.state.stored[S::Previous] = Position{3, 3, 3};
    StoredPositions positions(f.state, f.ops, f.prompts);
    positions.define(S::Previous, [&](DefinePosition& d) {
        EXPECT_TRUE(d.getCurrentPosition());
        EXPECT_EQ(d.held(), (Position{13000, 0, -16000})) << "no range test when fetching";
        EXPECT_EQ(d.accept({"13000", "0", "-16000"}), DefinePosition::X);
        return d.result(); // Cancel
    });
    // Getting the position moves nothing, so the previous position is the
    // fetched one and not the marker's.
    EXPECT_EQ(microns(f, S::Previous), (Position{13000, 0, -16000}));
    EXPECT_EQ(f.prompts.shown.size(), 1);
}

} // namespace
