#include "HostprogPrinting.h"
#include "ParseHostCommand.h"

#include "VelocityWord.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using Kind = HostCommand::Kind;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

HostCommand move(std::int32_t x, std::int32_t y, std::int32_t z)
{
    return HostCommand{Kind::Move, x, y, z, 0};
}

HostCommand high(std::int32_t v)
{
    return HostCommand{Kind::High, 0, 0, 0, v};
}

HostCommand low(std::int32_t v)
{
    return HostCommand{Kind::Low, 0, 0, 0, v};
}

HostCommand pause()
{
    return HostCommand{Kind::Pause, 0, 0, 0, 0};
}

HostCommand other()
{
    return HostCommand{};
}

using Refusal = HostCommand::Refusal;

HostCommand refused(HostCommand command, Refusal refusal)
{
    command.refusal = refusal;
    return command;
}

struct LineCase
{
    std::string line;
    HostCommand expected;
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << visible(c.line);
}

class ParseHostCommandTable : public testing::TestWithParam<LineCase>
{
};

TEST_P(ParseHostCommandTable, ClassifiesAndConverts)
{
    EXPECT_EQ(ParseHostCommand(GetParam().line), GetParam().expected) << visible(GetParam().line);
}

// The line kinds as the writers produce them, and the readings every
// executing reader relies on.
INSTANTIATE_TEST_SUITE_P(
    Kinds, ParseHostCommandTable,
    testing::Values(LineCase{"Move, 1200, -350, 40\r\n", move(1200, -350, 40)},
                    LineCase{"Move, 100\r\n", move(100, 0, 0)}, LineCase{"Move,10,-20,3\r\n", move(10, -20, 3)},
                    LineCase{"Move, 10, -20, 3\r\n", move(10, -20, 3)}, LineCase{"High, 1000\r\n", high(1000)},
                    LineCase{"High,  500\r\n", high(500)}, LineCase{"Low, 200\r\n", low(200)},
                    LineCase{"Low,  1000\r\n", low(1000)}, LineCase{"High, 40000\r\n", high(40000)},
                    LineCase{"Pause\r\n", pause()}, LineCase{"Pause \r\n", pause()}, LineCase{"Pause  \r\n", pause()},
                    LineCase{"Pause, 5\r\n", pause()}, LineCase{"Lowest, 5\r\n", low(5)},
                    LineCase{"move, 1, 2, 3\r\n", other()},
                    LineCase{"Status, 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19\r\n", other()}));

// Keywords are compared case-sensitively on their first characters only, in
// order; the keyword is the text before the first comma.
INSTANTIATE_TEST_SUITE_P(
    Keywords, ParseHostCommandTable,
    testing::Values(LineCase{"Movement, 5, 6, 7\r\n", move(5, 6, 7)}, LineCase{"Move\r\n", move(0, 0, 0)},
                    LineCase{"Move", move(0, 0, 0)}, LineCase{"Mov, 1, 2, 3\r\n", other()},
                    LineCase{"MOVE, 1, 2, 3\r\n", other()}, LineCase{" Move, 1, 2, 3\r\n", other()},
                    LineCase{",Move, 1, 2, 3\r\n", other()}, LineCase{"M,ove, 1\r\n", other()},
                    LineCase{"High-speed, 9\r\n", high(9)}, LineCase{"High\r\n", high(0)}, LineCase{"Hi, 9\r\n", other()},
                    LineCase{"high, 9\r\n", other()}, LineCase{"Lo, 9\r\n", other()},
                    LineCase{"Low\r\n", low(0)}, LineCase{"Paus, 1\r\n", other()}, LineCase{"Pause 5, Move, 1\r\n", pause()},
                    LineCase{"PAUSE\r\n", other()}, LineCase{"Stop\r\n", other()}, LineCase{"", other()},
                    LineCase{"\r\n", other()}, LineCase{"\n", other()}, LineCase{",\r\n", other()}));

// Fields: the text-to-number rule, missing fields as 0, further fields ignored.
INSTANTIATE_TEST_SUITE_P(
    Fields, ParseHostCommandTable,
    testing::Values(LineCase{"Move, 12.7, 1, 2\r\n", move(12, 1, 2)}, LineCase{"Move, , abc, -\r\n", move(0, 0, 0)},
                    LineCase{"Move,,,\r\n", move(0, 0, 0)}, LineCase{"Move, +4, -0, 007\r\n", move(4, 0, 7)},
                    LineCase{"Move,\t1 , 2x, 3 4\r\n", move(1, 2, 3)}, LineCase{"Move, 1, 2, 3, 4\r\n", move(1, 2, 3)},
                    LineCase{"Move, 1, 2\r\n", move(1, 2, 0)}, LineCase{"Move, - 5, +-6, 1e3\r\n", move(0, 0, 1)},
                    LineCase{"Move,-2147483648,2147483647, 0\r\n", refused(move(kMin, kMax, 0), Refusal::BeyondRange)},
                    LineCase{"Low, 5, 6, 7\r\n", low(5)}, LineCase{"High, x1000\r\n", high(0)},
                    LineCase{"High, -1\r\n", high(-1)}, LineCase{"Pause, 1, 2, 3\r\n", pause()}));

// The line ends at its first LF. A CR with more of the line after it means
// lines that end in CR alone: a command line holding one is refused, as what
// it means cannot be told.
INSTANTIATE_TEST_SUITE_P(
    LineEnds, ParseHostCommandTable,
    testing::Values(LineCase{"Move, 1, 2, 3", move(1, 2, 3)}, LineCase{"Move, 1, 2, 3\n", move(1, 2, 3)},
                    LineCase{"Move, 1, 2, 3\r", move(1, 2, 3)}, LineCase{"Move, 1, 2, 3\r\r\n", move(1, 2, 3)},
                    LineCase{"Move, 1, 2\r\nMove, 9, 9, 9\r\n", move(1, 2, 0)},
                    LineCase{"Move,1\n,2,3\r\n", move(1, 0, 0)},
                    LineCase{"Pause\rMove, 1, 2, 3\r\n", refused(pause(), Refusal::BareCr)},
                    LineCase{"Move, 1, 2\rMove, 5, 6, 7\r", refused(move(1, 2, 5), Refusal::BareCr)},
                    LineCase{"High, 5\rLow, 6\r", refused(high(5), Refusal::BareCr)},
                    LineCase{"Status, 1\rMove, 1, 2, 3\r", other()}));

// Limits: a keyword counts 12 characters, a line 118 before its line end, and
// a number 11 (its sign and digits; the blanks before it do not count). A
// number that does not fit, or that a cut line would lose part of, refuses
// the line; the values are as read.
const std::string kKeywordPad(110, 'x');
INSTANTIATE_TEST_SUITE_P(
    Limits, ParseHostCommandTable,
    testing::Values(LineCase{"Move," + std::string(11, ' ') + "5, 6, 7\r\n", move(5, 6, 7)},
                    LineCase{"Move,       -12700,       12700,        500\r\n", move(-12700, 12700, 500)},
                    LineCase{"High,         1000\r\n", high(1000)},
                    LineCase{"Move, 6, 7," + std::string(40, ' ') + "-12345678\r\n", move(6, 7, -12345678)},
                    LineCase{"Move,0000000012, 0, 0\r\n", move(12, 0, 0)},
                    LineCase{"Move, 1234567890123, 0, 0\r\n", refused(move(kMax, 0, 0), Refusal::NumberTooLong)},
                    LineCase{"Move, 0, 0,-99999999999999\r\n", refused(move(0, 0, kMin), Refusal::NumberTooLong)},
                    LineCase{"Move,00000000000012, 0, 0\r\n", refused(move(12, 0, 0), Refusal::NumberTooLong)},
                    LineCase{"High, +00000001000\r\n", refused(high(1000), Refusal::NumberTooLong)},
                    LineCase{"Move, 1, 2, 3, 123456789012345\r\n", move(1, 2, 3)},
                    LineCase{"Status, 123456789012345\r\n", other()},
                    LineCase{"Pause" + std::string(200, ' ') + "\r\n", pause()},
                    LineCase{"Low" + std::string(100, 'x') + ", 7\r\n", low(7)},
                    LineCase{"Low" + std::string(200, 'x') + ", 7\r\n", refused(low(0), Refusal::LineTooLong)},
                    LineCase{"Move" + kKeywordPad.substr(0, 107) + ",1,2,3 \r\n", move(1, 2, 3)},
                    LineCase{"Move" + kKeywordPad.substr(0, 108) + ",1,2,3\r\n",
                             refused(move(1, 2, 3), Refusal::LineTooLong)},
                    LineCase{"Move" + kKeywordPad.substr(0, 109) + ",1,2,3\r\n",
                             refused(move(1, 2, 0), Refusal::LineTooLong)},
                    LineCase{"Move" + kKeywordPad + ",1,2,3", refused(move(1, 2, 0), Refusal::LineTooLong)},
                    LineCase{"Move, 1, 2, 3" + std::string(100000, ' ') + "\r\n", move(1, 2, 3)},
                    LineCase{"High, 7" + std::string(100000, ',') + "\r\n", high(7)}));

// Binary bytes are ordinary characters: they stop numbers and spoil keywords.
INSTANTIATE_TEST_SUITE_P(
    Binary, ParseHostCommandTable,
    testing::Values(LineCase{std::string("\0", 1), other()}, LineCase{std::string("\0\0\0\r\n", 5), other()},
                    LineCase{std::string("Mo\0ve, 1, 2, 3\r\n", 16), other()},
                    LineCase{std::string("Move\0, 1, 2, 3\r\n", 16), move(1, 2, 3)},
                    LineCase{std::string("Move, 1\0 2, 3, 4\r\n", 18), move(1, 3, 4)},
                    LineCase{std::string("High, \0" "5\r\n", 10), high(0)}, LineCase{"Low, \xB5" "5\r\n", low(0)},
                    LineCase{"\xFF\xFE\xFD,\x80\x81\r\n", other()}, LineCase{"Move,\xFF" "1,\x80-2,3\r\n", move(0, 0, 3)},
                    LineCase{"\x1B[2JMove, 1, 2, 3\r\n", other()}));

struct WordCase
{
    std::string line;
    std::uint16_t word;
};

void PrintTo(const WordCase& c, std::ostream* os)
{
    *os << visible(c.line);
}

class VelocityWordTable : public testing::TestWithParam<WordCase>
{
};

TEST_P(VelocityWordTable, HighSubtracts32768AndLowKeepsTheVelocity)
{
    EXPECT_EQ(ParseHostCommand(GetParam().line).velocityWord(), GetParam().word) << visible(GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, VelocityWordTable,
    testing::Values(WordCase{"High, 1000\r\n", 33768}, WordCase{"Low, 1000\r\n", 1000}, WordCase{"High, 40000\r\n", 7232},
                    WordCase{"High, 0\r\n", 32768}, WordCase{"High, 1310\r\n", 0x851E}, WordCase{"High, 32767\r\n", 65535},
                    WordCase{"High, 32768\r\n", 0}, WordCase{"High, 65535\r\n", 32767}, WordCase{"High, -1\r\n", 32767},
                    WordCase{"High, 2147483647\r\n", 32767}, WordCase{"High,-2147483648\r\n", 32768},
                    WordCase{"High\r\n", 32768}, WordCase{"Low, 0\r\n", 0}, WordCase{"Low, 65535\r\n", 65535},
                    WordCase{"Low, 65536\r\n", 0}, WordCase{"Low, 70000\r\n", 4464}, WordCase{"Low, -1\r\n", 65535},
                    WordCase{"Low,-2147483648\r\n", 0}, WordCase{"Move, 1000, 0, 0\r\n", 0},
                    WordCase{"Pause, 1000\r\n", 0}, WordCase{"Status, 1000\r\n", 0}));

TEST(HostCommandVelocityWord, AgreesWithTheWordTheVelocityCommandSends)
{
    for (std::int32_t v = -70000; v <= 70000; v += 7) {
        EXPECT_EQ(high(v).velocityWord(), VelocityWord::encode(v, true)) << v;
        EXPECT_EQ(low(v).velocityWord(), VelocityWord::encode(v, false)) << v;
    }
}

TEST(HostCommandName, NamesEveryKind)
{
    EXPECT_EQ(HostCommand::name(Kind::Move), "Move");
    EXPECT_EQ(HostCommand::name(Kind::High), "High");
    EXPECT_EQ(HostCommand::name(Kind::Low), "Low");
    EXPECT_EQ(HostCommand::name(Kind::Pause), "Pause");
    EXPECT_EQ(HostCommand::name(Kind::Other), "Other");
}

} // namespace

TEST(HostCommandMicrostepsFit, RefusesMovesWhoseMicrostepsWouldWrap)
{
    const struct {
        std::int32_t microns;
        bool fits;
    } table[] = {
        {0, true},           {85899345, true},   {-85899345, true},
        {85899346, false},   {-85899346, false}, {INT32_MAX, false},
        {INT32_MIN, false},
    };
    for (const auto& row : table) {
        EXPECT_EQ(HostCommand::micronsFit(row.microns), row.fits) << row.microns;
        HostCommand move;
        move.kind = HostCommand::Kind::Move;
        move.z = row.microns;
        EXPECT_EQ(move.microstepsFit(), row.fits) << row.microns;
    }
    HostCommand speed;
    speed.kind = HostCommand::Kind::High;
    speed.x = INT32_MAX;
    EXPECT_TRUE(speed.microstepsFit());
}
