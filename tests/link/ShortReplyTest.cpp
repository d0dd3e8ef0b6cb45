// Replies cut short by a timeout or a lost byte must decode with the missing
// bytes as 0 and never read past the data. Each input sits in a heap buffer of
// exactly its own length, so AddressSanitizer reports any read beyond it.
#include "Commands.h"
#include "ProgramInfo.h"
#include "ProgramStep.h"
#include "StatusBlock.h"

#include "Printing.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

class ExactBuffer
{
public:
    explicit ExactBuffer(const QByteArray& bytes)
        : storage_(bytes.begin(), bytes.end()),
          view_(QByteArray::fromRawData(storage_.data(), bytes.size()))
    {
    }
    ExactBuffer(const ExactBuffer&) = delete;
    ExactBuffer& operator=(const ExactBuffer&) = delete;

    const QByteArray& bytes() const { return view_; }

private:
    std::vector<char> storage_; // allocated at exactly the data's length
    QByteArray view_;
};

class ShortReplyLength : public ::testing::TestWithParam<int> {};

// Every length from empty to beyond the longest reply decoded here: each
// decoder gives what it gives for the same bytes with the missing ones 0, and
// reads nothing beyond the data (AddressSanitizer would report it).
TEST_P(ShortReplyLength, DecodersStayWithinTheData)
{
    const int n = GetParam();
    const ExactBuffer buffer(QByteArray(n, '\xFF'));
    const QByteArray& bytes = buffer.bytes();
    // The same bytes followed by zeros, long enough for every decoder.
    const QByteArray padded = bytes + QByteArray(ProgramInfo::countSize + 4 * ProgramStep::uploadSize, '\0');

    EXPECT_EQ(Commands::decodePositionReply(bytes), Commands::decodePositionReply(padded));
    EXPECT_EQ(StatusBlock::decode(bytes), StatusBlock::decode(padded));
    EXPECT_EQ(ProgramInfo::stepCount(bytes), ProgramInfo::stepCount(padded));
    EXPECT_EQ(ProgramInfo::steps(bytes, 3), ProgramInfo::steps(padded, 3));
    EXPECT_EQ(ProgramStep::fromUpload(bytes), ProgramStep::fromUpload(padded));
    EXPECT_TRUE(ProgramStep::fromUpload(bytes, n).isPause()) << "a step starting past the data";
    EXPECT_EQ(ProgramStep::fromUpload(bytes, n - 1), ProgramStep::fromUpload(padded, n - 1));

    // The first field sees min(n, 4) bytes of 0xFF, the rest 0.
    const qint32 firstField = n >= 4 ? -1 : static_cast<qint32>((1u << (8 * n)) - 1u);
    EXPECT_EQ(Commands::decodePositionReply(bytes).x, firstField);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ShortReplyLength,
                         ::testing::Range(0, ProgramInfo::countSize + 3 * ProgramStep::uploadSize + 2));

TEST(ShortReply, PositionMissingBytesReadAsZero)
{
    const ExactBuffer buffer(hex("E7 FF FF FF 01 02"));
    EXPECT_EQ(Commands::decodePositionReply(buffer.bytes()), (Position{-25, 0x0201, 0}));
    EXPECT_EQ(Commands::decodePositionReply(ExactBuffer(QByteArray()).bytes()), Position{});
}

TEST(ShortReply, StatusMissingBytesReadAsZero)
{
    // Five bytes: the first 16-bit field has only its low byte.
    const ExactBuffer buffer(hex("01 02 03 04 FF"));
    std::array<int, StatusBlock::count> expected{};
    expected[0] = 1;
    expected[1] = 2;
    expected[2] = 3;
    expected[3] = 4;
    expected[4] = 255;
    EXPECT_EQ(StatusBlock::decode(buffer.bytes()), expected);
}

TEST(ShortReply, ProgramInfoMissingBytesReadAsZero)
{
    EXPECT_EQ(ProgramInfo::stepCount(ExactBuffer(hex("FF")).bytes()), 255);
    EXPECT_EQ(ProgramInfo::stepCount(ExactBuffer(QByteArray()).bytes()), 0);

    // Count 2, the first step complete, the second cut after its velocity field.
    const ExactBuffer buffer(hex("0200"
                                 " E8030000 01000000 02000000 03000000"
                                 " 18FCFFFF"));
    const QList<ProgramStep> steps = ProgramInfo::steps(buffer.bytes(), 2);
    ASSERT_EQ(steps.size(), 2);
    EXPECT_EQ(steps[0], (ProgramStep{0x03E8, 1, 2, 3}));
    EXPECT_EQ(steps[1], (ProgramStep{0xFC18, 0, 0, 0}));
}

TEST(ShortReply, StepOffsetOutsideTheDataReadsAsZero)
{
    const ExactBuffer buffer(QByteArray(ProgramStep::uploadSize, '\x7F'));
    EXPECT_TRUE(ProgramStep::fromUpload(buffer.bytes(), ProgramStep::uploadSize).isPause());
    EXPECT_TRUE(ProgramStep::fromUpload(buffer.bytes(), -ProgramStep::uploadSize).isPause());
    EXPECT_TRUE(ProgramStep::fromUpload(buffer.bytes(), std::numeric_limits<int>::max()).isPause());
    EXPECT_TRUE(ProgramStep::fromUpload(buffer.bytes(), std::numeric_limits<int>::min()).isPause());
    // Partly inside: the last four bytes are the velocity field.
    EXPECT_EQ(ProgramStep::fromUpload(buffer.bytes(), ProgramStep::uploadSize - 4),
              (ProgramStep{0x7F7F, 0, 0, 0}));
}

} // namespace
