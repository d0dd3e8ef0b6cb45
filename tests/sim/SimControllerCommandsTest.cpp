// Framing and the exact reply bytes of each command.

#include "Harness.h"

#include <gtest/gtest.h>

#include <string>

using namespace simtest;
using qx410sim::SimController;

namespace {

struct ReplyCase
{
    std::string name;
    Bytes input;
    Bytes expected;
};

void PrintTo(const ReplyCase& c, std::ostream* os)
{
    *os << c.name;
}

class SimCommandReply : public testing::TestWithParam<ReplyCase>
{
};

TEST_P(SimCommandReply, AnswersFromPowerUpExactly)
{
    Harness h;
    EXPECT_EQ(h.send(GetParam().input, 0), GetParam().expected);
    EXPECT_EQ(h.sim().commandsHandled(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, SimCommandReply,
    testing::Values(ReplyCase{"PositionQuery", plain('c'), positionReply(0, 0, 0)},
                    ReplyCase{"MoveToHere", move(0, 0, 0), kCompletion},
                    ReplyCase{"Velocity", velocity(1234), {}},
                    ReplyCase{"InterruptWhenIdle", plain(0x03), {}},
                    ReplyCase{"ContinueWhenIdle", plain('e'), {}},
                    ReplyCase{"RefreshDisplay", plain('n'), {kCr}},
                    ReplyCase{"Reset", plain('r'), {}},
                    ReplyCase{"SetOrigin", plain('o'), {}},
                    ReplyCase{"AbsoluteMode", plain('a'), {kCr}},
                    ReplyCase{"RelativeMode", plain('b'), {kCr}},
                    ReplyCase{"StoreProgram", store(1, {step(1000, 1, 2, 3)}), {}},
                    ReplyCase{"ProgramInfoEmpty", withProgram('u', 1), {0, 0, kCr}},
                    ReplyCase{"ProgramInfoUnknown", withProgram('u', 11), {0, 0, kCr}},
                    ReplyCase{"ProgramInfoZero", withProgram('u', 0), {0, 0, kCr}},
                    ReplyCase{"RunEmptyProgram", withProgram('k', 4), kCompletion},
                    ReplyCase{"RunUnknownProgram", withProgram('k', 300), kCompletion}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });

TEST(SimCommands, PositionReplyIsLittleEndianSigned)
{
    Harness h;
    h.send(velocity(0x7FFF), 0);
    h.send(move(1, -2, 0x12345678), 0);
    const Bytes reply = h.send(plain('c'), 1'000'000);
    const Bytes expected{0x01, 0x00, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12, kCr};
    EXPECT_EQ(reply, concat({kCompletion, expected}));
}

TEST(SimCommands, VelocityWordIsStoredAsSent)
{
    Harness h;
    EXPECT_EQ(h.sim().velocityWord(), SimController::kPowerUpVelocityWord);
    h.send(velocity(0x8000 | 250), 0);
    EXPECT_EQ(h.sim().velocityWord(), 0x8000 | 250);
}

TEST(SimCommands, ModeCommandsSwitchMode)
{
    Harness h;
    EXPECT_FALSE(h.sim().relativeMode());
    h.send(plain('b'), 0);
    EXPECT_TRUE(h.sim().relativeMode());
    h.send(plain('a'), 0);
    EXPECT_FALSE(h.sim().relativeMode());
}

TEST(SimStatusBlock, IdleAtPowerUp)
{
    Harness h;
    const Bytes reply = h.send(plain('s'), 0);
    ASSERT_EQ(reply.size(), 33u);
    EXPECT_EQ(reply.back(), kCr);
    Bytes expected(33, 0);
    expected[4] = 1000 & 0xFF; // speed 1000 um/s
    expected[5] = 1000 >> 8;
    expected[32] = kCr;
    EXPECT_EQ(reply, expected);
}

TEST(SimStatusBlock, DescribesMoveInProgress)
{
    Harness h;
    h.send(store(2, {step(1000, 1, 0, 0)}), 0);
    h.send(store(7, {step(1000, 1, 0, 0)}), 0);
    h.send(plain('b'), 0);
    h.send(velocity(0x8000 | 500), 0);
    // 40000 microsteps = 1600 um at 500 um/s: 3200 ms.
    h.send(move(40000, -2500, 25'000'000), 0);
    const Bytes s = h.send(plain('s'), 1000);
    ASSERT_EQ(s.size(), 33u);
    EXPECT_EQ(s[0], 1);                 // relative
    EXPECT_EQ(s[1], 1);                 // high resolution
    EXPECT_EQ(s[2], 1);                 // moving
    EXPECT_EQ(s[3], 0);                 // no program running
    EXPECT_EQ(getI16(s, 4), 500);       // speed
    // The longest axis (Z, 1'000'000 um) sets the time: 2'000'000 ms in all.
    EXPECT_EQ(getI16(s, 6), 0);         // X: 40000 * 1000 / 2'000'000 = 20 microsteps -> 0 um
    EXPECT_EQ(getI16(s, 8), 0);         // Y
    EXPECT_EQ(getI16(s, 10), 500);      // Z: 25'000'000 * 1000 / 2'000'000 = 12500 steps = 500 um
    EXPECT_EQ(getI16(s, 12), 0);        // no step
    EXPECT_EQ(s[14], 0);                // not paused
    EXPECT_EQ(s[15], 2);                // two programs stored
    EXPECT_EQ(getI16(s, 16), 1600);     // target X in um
    EXPECT_EQ(getI16(s, 18), -100);     // target Y
    EXPECT_EQ(getI16(s, 20), 32767);    // target Z clamped
    EXPECT_EQ(getI16(s, 22), 19990);    // 1'999'000 ms left = 19990 tenths
    for (std::size_t i = 24; i < 32; ++i)
        EXPECT_EQ(s[i], 0) << "byte " << i;
}

TEST(SimStatusBlock, ClampsNegativePositionAndReportsRun)
{
    Harness h;
    h.send(velocity(0x7FFF), 0);
    h.send(move(-25 * 40000, 0, 0), 0);
    h.outputAt(100'000);
    h.send(store(3, {step(1000, -25 * 40000, 25, 0), pauseStep(), step(1000, 0, 0, 0)}), 100'000);
    h.send(withProgram('k', 3), 100'000);
    const Bytes s = h.send(plain('s'), 100'040);
    EXPECT_EQ(getI16(s, 6), -32768); // -40000 um clamped
    EXPECT_EQ(getI16(s, 8), 1);
    EXPECT_EQ(s[2], 0);
    EXPECT_EQ(s[3], 3);
    EXPECT_EQ(getI16(s, 12), 2); // waiting at step 2, the pause
    EXPECT_EQ(s[14], 1);
    EXPECT_EQ(getI16(s, 22), 0);
}

// ---- framing ---------------------------------------------------------------------

TEST(SimFraming, CarriageReturnsInsideParametersAreData)
{
    Harness h;
    const std::int32_t crs = 0x0D0D0D0D;
    EXPECT_TRUE(h.send(velocity(0x0D0D), 0).empty());
    EXPECT_EQ(h.sim().velocityWord(), 0x0D0D);
    h.send(move(crs, 0x0D, -0x0D0D0D0D), 0);
    EXPECT_EQ(h.sim().commandsHandled(), 2u);
    EXPECT_TRUE(h.sim().moving(0));

    // 13 steps (count 0x000D) full of CR bytes, stored in program 13 (0x000D, not a
    // program slot: consumed and ignored), then program 1 with the same steps.
    Bytes steps;
    for (int i = 0; i < 13; ++i) {
        const Bytes s = step(0x0D0D, crs, crs, crs);
        steps.insert(steps.end(), s.begin(), s.end());
    }
    for (std::uint16_t program : {std::uint16_t{13}, std::uint16_t{1}}) {
        Bytes frame{'d'};
        putU16(frame, program);
        putU16(frame, 13);
        frame.push_back(kCr);
        frame.insert(frame.end(), steps.begin(), steps.end());
        EXPECT_TRUE(h.send(frame, 0).empty());
    }
    EXPECT_EQ(h.sim().program(1).size(), 13u);
    EXPECT_EQ(h.sim().program(13).size(), 0u);
    EXPECT_EQ(h.send(withProgram('u', 0x0D0D), 0), (Bytes{0, 0, kCr}));
    EXPECT_EQ(h.send(plain('n'), 0), Bytes{kCr});
    EXPECT_EQ(h.sim().commandsHandled(), 6u);
}

TEST(SimFraming, FramesMayArriveInPieces)
{
    Harness h;
    const Bytes frame = move(2500, 0, 0);
    for (std::size_t i = 0; i + 1 < frame.size(); ++i)
        EXPECT_TRUE(h.send(Bytes{frame[i]}, 0).empty());
    EXPECT_EQ(h.sim().commandsHandled(), 0u);
    h.send(Bytes{frame.back()}, 0);
    EXPECT_EQ(h.sim().commandsHandled(), 1u);
    EXPECT_TRUE(h.sim().moving(0));

    const Bytes program = store(2, {step(1000, 1, 2, 3), pauseStep()});
    h.send(Bytes(program.begin(), program.begin() + 10), 0);
    EXPECT_TRUE(h.sim().program(2).empty());
    h.send(Bytes(program.begin() + 10, program.end()), 0);
    ASSERT_EQ(h.sim().program(2).size(), 2u);
}

struct NoiseCase
{
    std::string name;
    Bytes input;
    Bytes expected;
    std::size_t commands;
};

void PrintTo(const NoiseCase& c, std::ostream* os)
{
    *os << c.name;
}

class SimNoise : public testing::TestWithParam<NoiseCase>
{
};

TEST_P(SimNoise, StrayBytesAreDroppedOneAtATime)
{
    Harness h;
    EXPECT_EQ(h.send(GetParam().input, 0), GetParam().expected);
    EXPECT_EQ(h.sim().commandsHandled(), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    Framing, SimNoise,
    testing::Values(NoiseCase{"UnknownBytesBeforeQuery", {0x00, 'x', 0xFF, kCr, 'c', kCr}, positionReply(0, 0, 0), 1},
                    NoiseCase{"NoiseBetweenCommands", {'n', kCr, 'z', 'Q', 'n', kCr}, {kCr, kCr}, 2},
                    // A command byte not followed by CR where it must be is noise too.
                    NoiseCase{"DoubledCommandByte", {'c', 'c', kCr}, positionReply(0, 0, 0), 1},
                    NoiseCase{"CommandByteThenOtherCommand", {'a', 'n', kCr}, {kCr}, 1},
                    NoiseCase{"ProgramHeaderWithoutCr", concat({{'d', 1, 0, 0, 0, 'x'}, plain('n')}), {kCr}, 1},
                    NoiseCase{"LoneCrs", {kCr, kCr, 'n', kCr}, {kCr}, 1}),
    [](const testing::TestParamInfo<NoiseCase>& info) { return info.param.name; });

TEST(SimFraming, StrayMoveByteResynchronises)
{
    // A stray 'm' swallows what follows only until its frame turns out to lack the
    // closing CR; then the real commands are found again.
    Harness h;
    Bytes input{'m'};
    for (int i = 0; i < 7; ++i) {
        input.push_back('n');
        input.push_back(kCr);
    }
    // 'm' + 13 bytes: byte 13 is 'n', not CR, so 'm' is dropped and seven 'n' CR remain.
    EXPECT_EQ(h.send(input, 0), Bytes(7, kCr));
    EXPECT_FALSE(h.sim().moving(0));
}

} // namespace
