#include "StatusBlock.h"

#include <gtest/gtest.h>

namespace {

using Numbers = std::array<int, StatusBlock::count>;

struct Decoding
{
    const char* name;
    const char* block; // 32 bytes, hex
    Numbers numbers;
};

void PrintTo(const Decoding& d, std::ostream* os) { *os << d.name; }

class StatusDecoding : public ::testing::TestWithParam<Decoding> {};

TEST_P(StatusDecoding, DecodesEachFieldAtItsPosition)
{
    QByteArray reply = QByteArray::fromHex(GetParam().block);
    ASSERT_EQ(reply.size(), 32);
    reply.append('\r');
    ASSERT_EQ(reply.size(), StatusBlock::replySize);
    EXPECT_EQ(StatusBlock::decode(reply), GetParam().numbers);
}

INSTANTIATE_TEST_SUITE_P(Table, StatusDecoding, ::testing::Values(
    // Every byte set: 8-bit fields read unsigned, 16-bit fields read signed.
    Decoding{"allOnes",
             "FF FF FF FF  FF FF FF FF FF FF FF FF FF FF  FF FF"
             "  FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF",
             {255, 255, 255, 255, -1, -1, -1, -1, -1, 255, 255, -1, -1, -1, -1, -1, -1, -1, -1}},
    // A distinct value in every field, low byte first, to pin byte positions.
    Decoding{"distinct",
             "01 02 03 04  05 01 06 02 07 03 08 04 09 05  0A 0B"
             "  0C 06 0D 07 0E 08 0F 09 10 0A 11 0B 12 0C 13 0D",
             {1, 2, 3, 4, 0x0105, 0x0206, 0x0307, 0x0408, 0x0509, 10, 11,
              0x060C, 0x070D, 0x080E, 0x090F, 0x0A10, 0x0B11, 0x0C12, 0x0D13}},
    // Only the high byte of each 16-bit field carries the sign.
    Decoding{"signFromHighByte",
             "80 81 82 83  00 80 FD FF 7F 00 FF 7F E8 03  80 FE"
             "  18 FC 00 00 01 00 FF FF 00 80 FF 7F 80 00 7F FF",
             {128, 129, 130, 131, -32768, -3, 127, 32767, 1000, 128, 254,
              -1000, 0, 1, -1, -32768, 32767, 128, -129}}));

TEST(StatusJoin, CommaSeparatedWithoutBlanks)
{
    const Numbers numbers{1, 0, 0, 0, 1000, -3, 7, 0, -32768, 255, 0, 1, 2, 3, 4, 5, 6, 7, -8};
    EXPECT_EQ(StatusBlock::join(numbers),
              QStringLiteral("1,0,0,0,1000,-3,7,0,-32768,255,0,1,2,3,4,5,6,7,-8"));
}

} // namespace
