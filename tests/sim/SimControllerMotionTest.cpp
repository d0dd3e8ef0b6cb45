// Moves: travel time, interpolation, interrupt, superseding, modes, origin, reset.

#include "Harness.h"
#include "Motion.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace simtest;
using qx410sim::Motion;
using qx410sim::SimController;
using qx410sim::Triple;

namespace {

struct TravelCase
{
    std::string name;
    Triple target;
    std::uint16_t velocityWord;
    std::int64_t travelMs;
};

void PrintTo(const TravelCase& c, std::ostream* os)
{
    *os << c.name;
}

class SimTravelTime : public testing::TestWithParam<TravelCase>
{
};

TEST_P(SimTravelTime, CompletionByteComesExactlyAtTheEnd)
{
    const TravelCase& c = GetParam();
    Harness h;
    const std::int64_t t0 = 5000; // the clock need not start at zero
    h.send(velocity(c.velocityWord), t0);
    EXPECT_TRUE(h.send(move(c.target[0], c.target[1], c.target[2]), t0).empty());
    EXPECT_EQ(h.sim().nextEventMs(), t0 + c.travelMs);
    EXPECT_TRUE(h.sim().moving(t0 + c.travelMs - 1));
    EXPECT_TRUE(h.outputAt(t0 + c.travelMs - 1).empty());
    EXPECT_EQ(h.outputAt(t0 + c.travelMs), kCompletion);
    EXPECT_FALSE(h.sim().moving(t0 + c.travelMs));
    EXPECT_EQ(h.positionAt(t0 + c.travelMs), c.target);
    EXPECT_FALSE(h.sim().nextEventMs().has_value());
    EXPECT_TRUE(h.outputAt(t0 + 10 * c.travelMs).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Moves, SimTravelTime,
    testing::Values(
        // 25000 microsteps = 1000 um at 1000 um/s
        TravelCase{"OneSecond", {25000, 0, 0}, 1000, 1000},
        TravelCase{"LongestAxisCounts", {2500, -5000, 100}, 1000, 200},
        TravelCase{"NegativeDirection", {0, 0, -25000}, 500, 2000},
        // velocity 0 runs at 1 um/s: 1 um in 1000 ms
        TravelCase{"VelocityZeroIsOneMicronPerSecond", {25, 0, 0}, 0, 1000},
        // bit 15 (high resolution) does not change the speed
        TravelCase{"HighResolutionBitIgnored", {25000, 0, 0}, 0x8000 | 1000, 1000},
        TravelCase{"HighResolutionVelocityZero", {0, 25, 0}, 0x8000, 1000},
        // 1 microstep = 0.04 um at 3 um/s = 13.33 ms, rounded up
        TravelCase{"FractionalMillisecondsRoundUp", {1, 0, 0}, 3, 14},
        TravelCase{"FastestSpeed", {32767 * 25, 0, 0}, 0x7FFF, 1000}),
    [](const testing::TestParamInfo<TravelCase>& info) { return info.param.name; });

struct InterpolationCase
{
    std::string name;
    Triple start;
    Triple target;
    std::uint16_t velocityWord;
    std::int64_t elapsedMs;
    Triple expected;
};

void PrintTo(const InterpolationCase& c, std::ostream* os)
{
    *os << c.name;
}

class SimInterpolation : public testing::TestWithParam<InterpolationCase>
{
};

TEST_P(SimInterpolation, PositionQueryDuringMove)
{
    const InterpolationCase& c = GetParam();
    Harness h;
    h.send(velocity(0x7FFF), 0);
    h.send(move(c.start[0], c.start[1], c.start[2]), 0);
    const std::int64_t t0 = 10'000'000;
    h.outputAt(t0);
    ASSERT_EQ(h.positionAt(t0), c.start);
    h.send(velocity(c.velocityWord), t0);
    h.send(move(c.target[0], c.target[1], c.target[2]), t0);
    EXPECT_EQ(h.positionAt(t0 + c.elapsedMs), c.expected);
    EXPECT_EQ(h.send(plain('c'), t0 + c.elapsedMs), positionReply(c.expected[0], c.expected[1], c.expected[2]));
}

INSTANTIATE_TEST_SUITE_P(
    Moves, SimInterpolation,
    testing::Values(
        InterpolationCase{"Halfway", {0, 0, 0}, {25000, -5000, 100}, 1000, 500, {12500, -2500, 50}},
        // 3 microsteps at 1 um/s take 120 ms: 50 ms is 1.25 steps
        InterpolationCase{"TruncatesPositive", {0, 0, 0}, {3, 0, 0}, 1, 50, {1, 0, 0}},
        InterpolationCase{"TruncatesNegativeTowardZero", {0, 0, 0}, {-3, 0, 0}, 1, 50, {-1, 0, 0}},
        InterpolationCase{"JustBeforeTheEnd", {0, 0, 0}, {3, 0, 0}, 1, 119, {2, 0, 0}},
        // 100 -> 0 at 1 um/s takes 4000 ms; after 10 ms the axis is at 99.75
        InterpolationCase{"DownwardTruncatesTowardZero", {100, 0, 0}, {0, 0, 0}, 1, 10, {99, 0, 0}},
        // crossing zero: -10 -> 10 over 800 ms, at 500 ms: 2.5
        InterpolationCase{"AcrossZero", {-10, 0, 0}, {10, 0, 0}, 1, 500, {2, 0, 0}},
        InterpolationCase{"AtStart", {7, 8, 9}, {70, 80, 90}, 1, 0, {7, 8, 9}},
        InterpolationCase{"ExtremePositions",
                          {std::numeric_limits<std::int32_t>::max(), 0, 0},
                          {std::numeric_limits<std::int32_t>::min(), 0, 0},
                          0x7FFF,
                          // 2^32 - 1 steps at 32767 um/s: 5'243'040.004 ms in all
                          1'310'761,
                          {1'073'741'004, 0, 0}},
        InterpolationCase{"ExtremePositionsNearTheEnd",
                          {std::numeric_limits<std::int32_t>::max(), 0, 0},
                          {std::numeric_limits<std::int32_t>::min(), 0, 0},
                          0x7FFF,
                          5'243'040,
                          {-2'147'483'645, 0, 0}}),
    [](const testing::TestParamInfo<InterpolationCase>& info) { return info.param.name; });

TEST(SimMotion, MoveClassRoundsTravelUpAndClampsOutsideItsTime)
{
    const Motion m({0, 0, 0}, {1, 0, 0}, 100, 3);
    EXPECT_EQ(m.endMs(), 114);
    EXPECT_EQ(m.positionAt(50), (Triple{0, 0, 0}));
    EXPECT_EQ(m.positionAt(113), (Triple{0, 0, 0}));
    EXPECT_EQ(m.positionAt(114), (Triple{1, 0, 0}));
    EXPECT_EQ(m.positionAt(1'000'000), (Triple{1, 0, 0}));
    EXPECT_TRUE(Motion({5, 5, 5}, {5, 5, 5}, 0, 1).isEmpty());
    EXPECT_EQ(Motion::speedOf(0), 1);
    EXPECT_EQ(Motion::speedOf(0x8000), 1);
    EXPECT_EQ(Motion::speedOf(0xFFFF), 0x7FFF);
}

TEST(SimMotion, InterruptStopsWhereTheAxesAre)
{
    Harness h;
    h.send(move(25000, 0, -2500), 0);
    EXPECT_EQ(h.send(plain(0x03), 400), kCompletion);
    EXPECT_EQ(h.positionAt(400), (Triple{10000, 0, -1000}));
    EXPECT_TRUE(h.sim().position(400) == (SimController::Axes{10000, 0, -1000}));
    EXPECT_FALSE(h.sim().moving(400));
    EXPECT_TRUE(h.outputAt(5000).empty()); // the ended move sends nothing more
    EXPECT_EQ(h.positionAt(5000), (Triple{10000, 0, -1000}));
    EXPECT_TRUE(h.send(plain(0x03), 5000).empty()); // nothing left to interrupt
}

TEST(SimMotion, NewMoveSupersedesOldWithoutItsCompletion)
{
    Harness h;
    h.send(move(25000, 0, 0), 0);
    // From 12500 back to 0 takes 500 ms.
    EXPECT_TRUE(h.send(move(0, 0, 0), 500).empty());
    EXPECT_EQ(h.positionAt(750), (Triple{6250, 0, 0}));
    EXPECT_TRUE(h.outputAt(999).empty());
    EXPECT_EQ(h.outputAt(1000), kCompletion);
    EXPECT_TRUE(h.outputAt(3000).empty());
}

TEST(SimMotion, SupersedingWithMoveToCurrentPointCompletesAtOnce)
{
    Harness h;
    h.send(move(25000, 0, 0), 0);
    EXPECT_EQ(h.send(move(12500, 0, 0), 500), kCompletion);
    EXPECT_TRUE(h.outputAt(2000).empty());
    EXPECT_EQ(h.positionAt(2000), (Triple{12500, 0, 0}));
}

TEST(SimMotion, QueriesDuringMoveAreAnswered)
{
    Harness h;
    h.send(move(25000, 0, 0), 0);
    EXPECT_EQ(h.send(plain('c'), 250), positionReply(6250, 0, 0));
    EXPECT_EQ(h.send(plain('n'), 260), Bytes{kCr});
    // The velocity applies to the next move, not the one under way.
    h.send(velocity(1), 300);
    EXPECT_EQ(h.outputAt(1000), kCompletion);
}

TEST(SimMotion, RelativeModeAddsToStartOfEachMove)
{
    Harness h;
    EXPECT_EQ(h.send(plain('b'), 0), Bytes{kCr});
    h.send(move(2500, -250, 25), 0);
    h.outputAt(1000);
    h.send(move(2500, -250, 25), 1000);
    h.outputAt(2000);
    EXPECT_EQ(h.positionAt(2000), (Triple{5000, -500, 50}));
    // Mid-move the offset counts from where the axes are at that moment.
    h.send(move(25000, 0, 0), 2000);
    h.send(move(100, 0, 0), 2500); // at 17500
    EXPECT_EQ(h.outputAt(3000), kCompletion);
    EXPECT_EQ(h.positionAt(3000), (Triple{17600, -500, 50}));
    // A zero offset is a move to where it is.
    EXPECT_EQ(h.send(move(0, 0, 0), 3000), kCompletion);
    // Back in absolute mode the numbers are targets again.
    h.send(plain('a'), 3000);
    h.send(move(0, 0, 0), 3000);
    h.outputAt(10'000);
    EXPECT_EQ(h.positionAt(10'000), (Triple{0, 0, 0}));
}

TEST(SimMotion, RelativeTargetsClampAtTheRangeEnd)
{
    Harness h;
    h.send(velocity(0x7FFF), 0);
    h.send(move(std::numeric_limits<std::int32_t>::max() - 5, 0, 0), 0);
    EXPECT_EQ(h.outputAt(10'000'000), kCompletion);
    h.send(plain('b'), 10'000'000);
    h.send(move(100, 0, 0), 10'000'000);
    h.outputAt(100'000'000);
    EXPECT_EQ(h.positionAt(100'000'000)[0], std::numeric_limits<std::int32_t>::max());
}

TEST(SimMotion, OriginMakesCurrentPointZero)
{
    Harness h;
    h.send(move(2500, -50, 7), 0);
    h.outputAt(1000);
    EXPECT_TRUE(h.send(plain('o'), 1000).empty());
    EXPECT_EQ(h.send(plain('c'), 1000), positionReply(0, 0, 0));
    EXPECT_EQ(h.send(move(0, 0, 0), 1000), kCompletion); // already there
    h.send(move(-2500, 50, -7), 1000);
    EXPECT_EQ(h.outputAt(1100), kCompletion);
    EXPECT_EQ(h.positionAt(1100), (Triple{-2500, 50, -7}));
}

TEST(SimMotion, OriginDuringMoveKeepsTheMoveGoing)
{
    Harness h;
    h.send(move(25000, 0, 0), 0);
    h.send(plain('o'), 500);
    EXPECT_EQ(h.positionAt(500), (Triple{0, 0, 0}));
    EXPECT_EQ(h.positionAt(750), (Triple{6250, 0, 0}));
    EXPECT_TRUE(h.outputAt(999).empty());
    EXPECT_EQ(h.outputAt(1000), kCompletion);
    EXPECT_EQ(h.positionAt(1000), (Triple{12500, 0, 0}));
}

TEST(SimMotion, ResetStopsMotionAndRestoresPowerUpSettings)
{
    Harness h;
    h.send(store(1, {step(10, 1, 1, 1)}), 0);
    h.send(velocity(0x8000 | 250), 0);
    h.send(plain('b'), 0);
    h.send(move(2500, 0, 0), 0); // 400 ms at 250 um/s
    EXPECT_TRUE(h.send(plain('r'), 200).empty());
    EXPECT_FALSE(h.sim().moving(200));
    EXPECT_EQ(h.positionAt(200), (Triple{1250, 0, 0}));
    EXPECT_EQ(h.sim().velocityWord(), SimController::kPowerUpVelocityWord);
    EXPECT_FALSE(h.sim().relativeMode());
    EXPECT_EQ(h.sim().program(1).size(), 1u);
    EXPECT_TRUE(h.outputAt(2000).empty()); // the stopped move never completes
    EXPECT_EQ(h.send(plain('c'), 2000), positionReply(1250, 0, 0));
}

TEST(SimMotion, TimeNeverRunsBackwards)
{
    Harness h;
    h.send(move(25000, 0, 0), 1000);
    h.outputAt(1500);
    // An earlier time counts as the latest one seen.
    EXPECT_EQ(h.send(plain('c'), 1200), positionReply(12500, 0, 0));
    EXPECT_EQ(h.outputAt(2000), kCompletion);
}

} // namespace
