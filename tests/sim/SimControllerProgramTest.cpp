// Stored programs: download, upload, runs with pauses and interrupts.

#include "Harness.h"

#include <gtest/gtest.h>

using namespace simtest;
using qx410sim::SimController;
using qx410sim::Triple;

namespace {

Bytes uploadedStep(std::int32_t velocityField, std::int32_t x, std::int32_t y, std::int32_t z)
{
    Bytes b;
    putI32(b, velocityField);
    putI32(b, x);
    putI32(b, y);
    putI32(b, z);
    return b;
}

TEST(SimProgramStore, UploadGivesSixteenByteSteps)
{
    Harness h;
    EXPECT_TRUE(h.send(store(3, {step(1000, 2500, 0, -1), pauseStep(), step(0x8000 | 500, -2500, 100, 0x0D0D0D0D),
                                 step(0x8000, 1, 2, 3), step(0, 0, 0, 5)}),
                       0)
                    .empty());
    const Bytes expected = concat({{5, 0},
                                   uploadedStep(1000, 2500, 0, -1),
                                   uploadedStep(0, 0, 0, 0),
                                   // negative = high resolution, low 15 bits the speed
                                   uploadedStep(static_cast<std::int32_t>(0xFFFF8000u | 500), -2500, 100, 0x0D0D0D0D),
                                   uploadedStep(-32768, 1, 2, 3),
                                   uploadedStep(0, 0, 0, 5),
                                   {kCr}});
    const Bytes reply = h.send(withProgram('u', 3), 0);
    EXPECT_EQ(reply, expected);
    EXPECT_EQ(getI32(reply, 2 + 2 * 16), -32268);
}

TEST(SimProgramStore, KeepsStepsAsDownloaded)
{
    Harness h;
    const Bytes first = step(0x8000 | 7, -1, 0x7FFFFFFF, 42);
    h.send(store(10, {first, pauseStep()}), 0);
    const auto steps = h.sim().program(10);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), steps[0].begin()));
    EXPECT_EQ(steps[1], SimController::Step{});
    EXPECT_TRUE(h.sim().program(1).empty());
    EXPECT_TRUE(h.sim().program(0).empty());
    EXPECT_TRUE(h.sim().program(11).empty());
}

TEST(SimProgramStore, ReplacingAndClearing)
{
    Harness h;
    h.send(store(1, {step(1, 1, 1, 1), step(2, 2, 2, 2)}), 0);
    h.send(store(1, {step(3, 3, 3, 3)}), 0);
    EXPECT_EQ(h.send(withProgram('u', 1), 0), concat({{1, 0}, uploadedStep(3, 3, 3, 3), {kCr}}));
    h.send(store(1, {}), 0);
    EXPECT_EQ(h.send(withProgram('u', 1), 0), (Bytes{0, 0, kCr}));
}

TEST(SimProgramStore, UnknownProgramNumberConsumesItsSteps)
{
    Harness h;
    for (std::uint16_t number : {std::uint16_t{0}, std::uint16_t{11}, std::uint16_t{0xFFFF}}) {
        // The steps spell out commands; they must be swallowed, not executed.
        Bytes fake = concat({plain('n'), plain('n'), plain('n'), plain('n'), plain('n'), plain('n'), plain('n')});
        const Bytes frame = concat({{'d'}, {static_cast<std::uint8_t>(number & 0xFF), static_cast<std::uint8_t>(number >> 8)},
                                    {1, 0, kCr}, fake});
        EXPECT_TRUE(h.send(frame, 0).empty()) << number;
        EXPECT_EQ(h.send(plain('n'), 0), Bytes{kCr});
    }
    for (int n = 1; n <= SimController::kProgramCount; ++n)
        EXPECT_TRUE(h.sim().program(n).empty());
}

class SimProgramRun : public testing::Test
{
protected:
    Harness h;
};

TEST_F(SimProgramRun, StepsRunInOrderAndChain)
{
    // 1000 um at 1000 um/s, then 100 um on Y at 500 um/s (200 ms).
    h.send(store(2, {step(1000, 25000, 0, 0), step(0x8000 | 500, 25000, 2500, 0)}), 0);
    EXPECT_TRUE(h.send(withProgram('k', 2), 0).empty());
    EXPECT_EQ(h.sim().runningProgram(), 2);
    EXPECT_EQ(h.sim().velocityWord(), 1000);
    EXPECT_EQ(h.sim().nextEventMs(), 1000);
    EXPECT_TRUE(h.outputAt(999).empty());
    EXPECT_TRUE(h.outputAt(1000).empty()); // the second step starts on the spot
    EXPECT_EQ(h.sim().velocityWord(), 0x8000 | 500);
    EXPECT_EQ(h.sim().nextEventMs(), 1200);
    EXPECT_EQ(h.positionAt(1100), (Triple{25000, 1250, 0}));
    EXPECT_TRUE(h.outputAt(1199).empty());
    EXPECT_EQ(h.outputAt(1200), kCompletion);
    EXPECT_EQ(h.sim().runningProgram(), 0);
    EXPECT_FALSE(h.sim().moving(1200));
    EXPECT_TRUE(h.outputAt(5000).empty());
}

TEST_F(SimProgramRun, SeveralStepsWithinOneLongJump)
{
    h.send(plain('b'), 0);
    h.send(store(4, {step(1000, 2500, 0, 0), step(0, 0, 0, 1), step(2000, 2500, 0, 0), step(1000, 0, 2500, 0)}), 0);
    h.send(withProgram('k', 4), 0);
    // Step 1 ends at 100 ms; step 2 (1 microstep at velocity 0, i.e. 1 um/s) takes
    // 40 ms, to 140; step 3 takes 50 ms, to 190; step 4 takes 100 ms, to 290.
    EXPECT_EQ(h.positionAt(150), (Triple{3000, 0, 1}));
    EXPECT_TRUE(h.sim().moving(289));
    EXPECT_FALSE(h.sim().moving(290));
    EXPECT_EQ(h.outputAt(100'000), kCompletion);
    EXPECT_EQ(h.positionAt(100'000), (Triple{5000, 2500, 1}));
    EXPECT_EQ(h.sim().velocityWord(), 1000);
    EXPECT_EQ(h.sim().runningProgram(), 0);
}

TEST_F(SimProgramRun, StepsAlreadyReachedFinishAtOnce)
{
    h.send(store(5, {step(1000, 0, 0, 0), step(7, 0, 0, 0)}), 0);
    EXPECT_EQ(h.send(withProgram('k', 5), 0), kCompletion);
    EXPECT_EQ(h.sim().runningProgram(), 0);
    EXPECT_EQ(h.sim().velocityWord(), 7);
}

TEST_F(SimProgramRun, PauseStepWaitsForContinue)
{
    h.send(store(1, {step(1000, 2500, 0, 0), pauseStep(), step(1000, 5000, 0, 0)}), 0);
    h.send(withProgram('k', 1), 0);
    EXPECT_TRUE(h.outputAt(100).empty());
    EXPECT_TRUE(h.sim().pausedInProgram());
    EXPECT_FALSE(h.sim().nextEventMs().has_value());
    EXPECT_TRUE(h.outputAt(60'000).empty()); // waits however long it takes
    EXPECT_TRUE(h.sim().pausedInProgram());
    EXPECT_EQ(h.send(plain('c'), 60'000), positionReply(2500, 0, 0));
    EXPECT_TRUE(h.send(plain('e'), 60'000).empty());
    EXPECT_FALSE(h.sim().pausedInProgram());
    EXPECT_EQ(h.positionAt(60'050), (Triple{3750, 0, 0}));
    EXPECT_TRUE(h.outputAt(60'099).empty());
    EXPECT_EQ(h.outputAt(60'100), kCompletion);
    EXPECT_TRUE(h.send(plain('e'), 60'200).empty()); // nothing to continue any more
}

TEST_F(SimProgramRun, PauseAsLastStepEndsOnContinue)
{
    h.send(store(1, {pauseStep()}), 0);
    EXPECT_TRUE(h.send(withProgram('k', 1), 0).empty());
    EXPECT_TRUE(h.sim().pausedInProgram());
    EXPECT_EQ(h.send(plain('e'), 10), kCompletion);
    EXPECT_EQ(h.sim().runningProgram(), 0);
}

TEST_F(SimProgramRun, InterruptDuringStepEndsRun)
{
    h.send(store(6, {step(1000, 25000, 0, 0), step(1000, 0, 0, 0)}), 0);
    h.send(withProgram('k', 6), 0);
    EXPECT_EQ(h.send(plain(0x03), 250), kCompletion);
    EXPECT_EQ(h.sim().runningProgram(), 0);
    EXPECT_EQ(h.positionAt(250), (Triple{6250, 0, 0}));
    EXPECT_TRUE(h.outputAt(10'000).empty());
    EXPECT_EQ(h.positionAt(10'000), (Triple{6250, 0, 0}));
}

TEST_F(SimProgramRun, InterruptWhilePausedEndsRun)
{
    h.send(store(6, {pauseStep(), step(1000, 25000, 0, 0)}), 0);
    h.send(withProgram('k', 6), 0);
    EXPECT_EQ(h.send(plain(0x03), 5), kCompletion);
    EXPECT_FALSE(h.sim().pausedInProgram());
    EXPECT_TRUE(h.send(plain('e'), 6).empty());
    EXPECT_FALSE(h.sim().moving(7));
}

TEST_F(SimProgramRun, ResetEndsRunSilently)
{
    h.send(store(6, {step(1000, 25000, 0, 0)}), 0);
    h.send(withProgram('k', 6), 0);
    EXPECT_TRUE(h.send(plain('r'), 500).empty());
    EXPECT_EQ(h.sim().runningProgram(), 0);
    EXPECT_TRUE(h.outputAt(5000).empty());
}

TEST_F(SimProgramRun, MoveCommandSupersedesRun)
{
    h.send(store(6, {step(1000, 25000, 0, 0), step(1000, 0, 0, 0)}), 0);
    h.send(withProgram('k', 6), 0);
    h.send(move(0, 0, 0), 500); // 500 ms back home
    EXPECT_EQ(h.sim().runningProgram(), 0);
    EXPECT_EQ(h.outputAt(1000), kCompletion); // one byte, for the move
    EXPECT_TRUE(h.outputAt(10'000).empty());
}

TEST_F(SimProgramRun, RelativeStepsAddUp)
{
    h.send(plain('b'), 0);
    h.send(store(8, {step(1000, 2500, 0, 0), step(1000, 2500, -25, 0), step(1000, 2500, 0, 25)}), 0);
    h.send(withProgram('k', 8), 0);
    EXPECT_EQ(h.outputAt(1000), kCompletion);
    EXPECT_EQ(h.positionAt(1000), (Triple{7500, -25, 25}));
    // Running it again goes on from there.
    h.send(withProgram('k', 8), 1000);
    EXPECT_EQ(h.outputAt(2000), kCompletion);
    EXPECT_EQ(h.positionAt(2000), (Triple{15000, -50, 50}));
}

TEST_F(SimProgramRun, StatusFollowsTheRun)
{
    h.send(store(9, {step(1000, 2500, 0, 0), pauseStep(), step(1000, 0, 0, 0)}), 0);
    h.send(withProgram('k', 9), 0);
    Bytes s = h.send(plain('s'), 50);
    EXPECT_EQ(s[2], 1);
    EXPECT_EQ(s[3], 9);
    EXPECT_EQ(getI16(s, 12), 1);
    EXPECT_EQ(s[14], 0);
    s = h.send(plain('s'), 150);
    EXPECT_EQ(s[2], 0);
    EXPECT_EQ(getI16(s, 12), 2);
    EXPECT_EQ(s[14], 1);
    h.send(plain('e'), 150);
    s = h.send(plain('s'), 160);
    EXPECT_EQ(getI16(s, 12), 3);
    EXPECT_EQ(s[14], 0);
}

} // namespace

namespace {

// The host's Halt ends with the continue command and waits for a CR: the
// controller acknowledges the continue that follows the interrupt of a run,
// a little later, so the purge right after the command does not catch it.
TEST_F(SimProgramRun, ContinueAfterInterruptedRunIsAcknowledged)
{
    h.send(store(6, {step(1000, 25000, 0, 0)}), 0);
    h.send(withProgram('k', 6), 0);
    EXPECT_EQ(h.send(plain(0x03), 100), kCompletion);
    EXPECT_TRUE(h.send(plain('e'), 200).empty());
    EXPECT_EQ(h.sim().nextEventMs(), std::optional<std::int64_t>(200 + SimController::kHaltAckMs));
    EXPECT_EQ(h.outputAt(200 + SimController::kHaltAckMs), Bytes{kCr});
    EXPECT_TRUE(h.send(plain('e'), 300).empty()); // once only
    EXPECT_TRUE(h.outputAt(1000).empty());
}

TEST_F(SimProgramRun, ContinueAfterInterruptedMoveIsNotAcknowledged)
{
    h.send(move(25000, 0, 0), 0);
    EXPECT_EQ(h.send(plain(0x03), 100), kCompletion);
    EXPECT_TRUE(h.send(plain('e'), 200).empty());
    EXPECT_TRUE(h.outputAt(1000).empty());
}

} // namespace
