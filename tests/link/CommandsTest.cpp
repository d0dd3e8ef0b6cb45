#include "Commands.h"
#include "Units.h"
#include "VelocityWord.h"

#include "Printing.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

struct Encoding
{
    const char* name;
    std::function<QByteArray()> build;
    const char* bytes;
};

void PrintTo(const Encoding& e, std::ostream* os) { *os << e.name; }

class CommandBytes : public ::testing::TestWithParam<Encoding> {};

TEST_P(CommandBytes, AreExact)
{
    EXPECT_EQ(GetParam().build().toHex(' '), hex(GetParam().bytes).toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(Fixed, CommandBytes, ::testing::Values(
    Encoding{"positionQuery", &Commands::positionQuery, "63 0D"},
    Encoding{"interrupt", &Commands::interrupt, "03 0D"},
    Encoding{"continueRun", &Commands::continueRun, "65 0D"},
    Encoding{"refreshDisplay", &Commands::refreshDisplay, "6E 0D"},
    Encoding{"statusQuery", &Commands::statusQuery, "73 0D"},
    Encoding{"reset", &Commands::reset, "72 0D"},
    Encoding{"setOrigin", &Commands::setOrigin, "6F 0D"},
    Encoding{"absoluteMode", &Commands::absoluteMode, "61 0D"},
    Encoding{"relativeMode", &Commands::relativeMode, "62 0D"}));

INSTANTIATE_TEST_SUITE_P(WithParameters, CommandBytes, ::testing::Values(
    Encoding{"moveMinusOneZeroThousandMicrons",
             [] { return Commands::move(Units::micronsToMicrosteps(Position{-1, 0, 1000})); },
             "6D E7 FF FF FF 00 00 00 00 A8 61 00 00 0D"},
    Encoding{"moveWithCarriageReturnsInParameters",
             [] { return Commands::move(Position{0x0D, 0x0D0D, 0x0D0D0D0D}); },
             "6D 0D 00 00 00 0D 0D 00 00 0D 0D 0D 0D 0D"},
    Encoding{"moveExtremes",
             [] {
                 return Commands::move(Position{std::numeric_limits<qint32>::min(), -1,
                                                std::numeric_limits<qint32>::max()});
             },
             "6D 00 00 00 80 FF FF FF FF FF FF FF 7F 0D"},
    Encoding{"velocity1000Low", [] { return Commands::velocity(VelocityWord::encode(1000, false)); },
             "56 E8 03 0D"},
    Encoding{"velocity1000High", [] { return Commands::velocity(VelocityWord::encode(1000, true)); },
             "56 E8 83 0D"},
    Encoding{"velocity1024LowKeepsZeroByte",
             [] { return Commands::velocity(VelocityWord::encode(1024, false)); }, "56 00 04 0D"},
    Encoding{"velocity1310High", [] { return Commands::velocity(VelocityWord::encode(1310, true)); },
             "56 1E 85 0D"},
    Encoding{"velocityZero", [] { return Commands::velocity(0); }, "56 00 00 0D"},
    Encoding{"velocityCarriageReturnWord", [] { return Commands::velocity(0x0D0D); }, "56 0D 0D 0D"},
    Encoding{"storeProgram", [] { return Commands::storeProgram(3, 0x0102); }, "64 03 00 02 01 0D"},
    Encoding{"storeProgramHighNumbers", [] { return Commands::storeProgram(0xFFFF, 0x8000); },
             "64 FF FF 00 80 0D"},
    Encoding{"programInfo", [] { return Commands::programInfo(0x0201); }, "75 01 02 0D"},
    Encoding{"programInfoZero", [] { return Commands::programInfo(0); }, "75 00 00 0D"},
    Encoding{"runProgram", [] { return Commands::runProgram(0xAB0D); }, "6B 0D AB 0D"}));

struct WordCase
{
    int velocity;
    bool high;
    quint16 word;
};

void PrintTo(const WordCase& c, std::ostream* os)
{
    *os << c.velocity << (c.high ? " high" : " low");
}

class VelocityWordCodes : public ::testing::TestWithParam<WordCase> {};

TEST_P(VelocityWordCodes, EncodeAndSplitAgree)
{
    const WordCase& c = GetParam();
    const quint16 word = VelocityWord::encode(c.velocity, c.high);
    EXPECT_EQ(word, c.word);
    EXPECT_EQ(VelocityWord::velocity(word), c.velocity);
    EXPECT_EQ(VelocityWord::isHigh(word), c.high);
}

INSTANTIATE_TEST_SUITE_P(Table, VelocityWordCodes, ::testing::Values(
    WordCase{0, false, 0x0000},
    WordCase{0, true, 0x8000},
    WordCase{1000, false, 0x03E8},
    WordCase{1000, true, 33768},
    WordCase{1024, false, 0x0400},
    WordCase{1310, true, 34078},
    WordCase{32767, false, 0x7FFF},
    WordCase{32767, true, 0xFFFF}));

TEST(VelocityWordRange, OutOfRangeVelocityWrapsTo16BitsWithoutOverflow)
{
    EXPECT_EQ(VelocityWord::encode(std::numeric_limits<int>::max(), true), 0x7FFF);
    EXPECT_EQ(VelocityWord::encode(-1, false), 0xFFFF);
}

TEST(PositionReply, DecodesSignedLittleEndianAxesAndIgnoresTheTerminator)
{
    const QByteArray reply = hex("E7 FF FF FF 00 00 00 00 A8 61 00 00 0D");
    ASSERT_EQ(reply.size(), Commands::positionReplySize);
    EXPECT_EQ(Commands::decodePositionReply(reply), (Position{-25, 0, 25000}));

    QByteArray otherTerminator = reply;
    otherTerminator[12] = 'x';
    EXPECT_EQ(Commands::decodePositionReply(otherTerminator), (Position{-25, 0, 25000}));

    EXPECT_EQ(Commands::decodePositionReply(hex("00 00 00 80 0D 0D 0D 0D FF FF FF 7F 0D")),
              (Position{std::numeric_limits<qint32>::min(), 0x0D0D0D0D,
                        std::numeric_limits<qint32>::max()}));
}

} // namespace
