#include "Commands.h"
#include "ProgramInfo.h"
#include "ProgramStep.h"
#include "VelocityWord.h"

#include "Printing.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// A step as the controller reports it back: the 16-bit velocity word widened
// with its sign to the 32-bit field, then the coordinates.
QByteArray uploadLayout(const ProgramStep& step)
{
    QByteArray out;
    for (qint32 value : {qint32{static_cast<qint16>(step.velocityWord)}, step.x, step.y, step.z}) {
        for (int shift = 0; shift < 32; shift += 8)
            out.append(static_cast<char>((static_cast<quint32>(value) >> shift) & 0xFF));
    }
    return out;
}

struct StepLayout
{
    const char* name;
    ProgramStep step;
    const char* download; // hex
};

void PrintTo(const StepLayout& l, std::ostream* os) { *os << l.name; }

class StepRoundTrip : public ::testing::TestWithParam<StepLayout> {};

TEST_P(StepRoundTrip, DownloadBytesAreExact)
{
    const QByteArray bytes = GetParam().step.toDownload();
    EXPECT_EQ(bytes.size(), ProgramStep::downloadSize);
    EXPECT_EQ(bytes.toHex(' '), hex(GetParam().download).toHex(' '));
}

TEST_P(StepRoundTrip, UploadGivesBackTheSameStep)
{
    const QByteArray upload = uploadLayout(GetParam().step);
    ASSERT_EQ(upload.size(), ProgramStep::uploadSize);
    EXPECT_EQ(ProgramStep::fromUpload(upload), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(Table, StepRoundTrip, ::testing::Values(
    StepLayout{"pause", ProgramStep{}, "0000 00000000 00000000 00000000"},
    StepLayout{"lowResolution", ProgramStep{VelocityWord::encode(1000, false), -25, 0, 25000},
               "E803 E7FFFFFF 00000000 A8610000"},
    StepLayout{"highResolution", ProgramStep{VelocityWord::encode(1310, true), 1, -2, 3},
               "1E85 01000000 FEFFFFFF 03000000"},
    StepLayout{"fastestHigh", ProgramStep{VelocityWord::encode(32767, true), 0, 0, 0},
               "FFFF 00000000 00000000 00000000"},
    StepLayout{"fastestLow", ProgramStep{VelocityWord::encode(32767, false), 0, 0, 0},
               "FF7F 00000000 00000000 00000000"},
    StepLayout{"extremesAndCarriageReturns",
               ProgramStep{0x0D0D, std::numeric_limits<qint32>::min(), 0x0D0D0D0D,
                           std::numeric_limits<qint32>::max()},
               "0D0D 00000080 0D0D0D0D FFFFFF7F"}));

struct FieldCase
{
    const char* field; // 4 bytes, hex
    quint16 word;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.field; }

class UploadVelocityField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(UploadVelocityField, MapsToVelocityWord)
{
    QByteArray bytes = hex(GetParam().field);
    bytes.append(QByteArray(12, '\0'));
    EXPECT_EQ(ProgramStep::fromUpload(bytes).velocityWord, GetParam().word);
}

INSTANTIATE_TEST_SUITE_P(Table, UploadVelocityField, ::testing::Values(
    FieldCase{"00000000", 0x0000},  // pause
    FieldCase{"E8030000", 0x03E8},  // positive: low resolution
    FieldCase{"E8830000", 0x03E8},  // positive beyond 15 bits: kept to 15 bits, still low
    FieldCase{"FFFFFF7F", 0x7FFF},
    FieldCase{"E883FFFF", 0x83E8},  // negative: high resolution, low 15 bits
    FieldCase{"E8030080", 0x83E8},  // negative regardless of bits 15-30
    FieldCase{"FFFFFFFF", 0xFFFF},
    FieldCase{"00000080", 0x8000})); // most negative: high resolution, velocity 0

TEST(ProgramStepPause, OnlyAllZeroIsAPause)
{
    EXPECT_TRUE(ProgramStep{}.isPause());
    EXPECT_TRUE(ProgramStep::fromUpload(QByteArray(ProgramStep::uploadSize, '\0')).isPause());
    EXPECT_FALSE((ProgramStep{0x8000, 0, 0, 0}.isPause()));
    EXPECT_FALSE((ProgramStep{1, 0, 0, 0}.isPause()));
    EXPECT_FALSE((ProgramStep{0, 1, 0, 0}.isPause()));
    EXPECT_FALSE((ProgramStep{0, 0, -1, 0}.isPause()));
    EXPECT_FALSE((ProgramStep{0, 0, 0, 1}.isPause()));
}

TEST(ProgramStepDownload, FollowsTheHeaderAsPlainBytes)
{
    const ProgramStep move{VelocityWord::encode(1000, false), -25, 0, 25000};
    const QByteArray stream = Commands::storeProgram(2, 2) + move.toDownload() + ProgramStep{}.toDownload();
    EXPECT_EQ(stream.toHex(' '), hex("64 02 00 02 00 0D"
                                     " E8 03 E7 FF FF FF 00 00 00 00 A8 61 00 00"
                                     " 00 00 00 00 00 00 00 00 00 00 00 00 00 00")
                                     .toHex(' '));
}

TEST(ProgramInfoReply, CountThenStepsThenTerminator)
{
    const ProgramStep first{VelocityWord::encode(1000, true), 25, -50, 75};
    const ProgramStep second{};
    const QByteArray reply = hex("0200") + uploadLayout(first) + uploadLayout(second) + hex("0D");

    EXPECT_EQ(ProgramInfo::stepCount(reply), 2);
    EXPECT_EQ(ProgramInfo::steps(reply, 2), (QList<ProgramStep>{first, second}));
    EXPECT_EQ(ProgramInfo::steps(reply, 1), (QList<ProgramStep>{first}));
    EXPECT_EQ(ProgramStep::fromUpload(reply, ProgramInfo::countSize + ProgramStep::uploadSize), second);
}

struct CountCase
{
    const char* bytes;
    qint16 count;
};

void PrintTo(const CountCase& c, std::ostream* os) { *os << c.bytes; }

class ProgramInfoCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(ProgramInfoCount, IsSignedLittleEndian)
{
    const QByteArray reply = hex(GetParam().bytes) + hex("0D");
    EXPECT_EQ(ProgramInfo::stepCount(reply), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Table, ProgramInfoCount, ::testing::Values(
    CountCase{"0000", 0},
    CountCase{"0100", 1},
    CountCase{"0001", 256},
    CountCase{"FF7F", 32767},
    CountCase{"FFFF", -1},
    CountCase{"0080", -32768}));

TEST(ProgramInfoSteps, NoStepsForZeroOrNegativeCount)
{
    const QByteArray reply = hex("FFFF") + QByteArray(2 * ProgramStep::uploadSize, '\x11') + hex("0D");
    EXPECT_TRUE(ProgramInfo::steps(reply, ProgramInfo::stepCount(reply)).isEmpty());
    EXPECT_TRUE(ProgramInfo::steps(reply, 0).isEmpty());
    EXPECT_TRUE(ProgramInfo::steps(reply, std::numeric_limits<int>::min()).isEmpty());
}

TEST(ProgramInfoSteps, CountBeyondWhatTheFieldCanAnnounceIsCapped)
{
    EXPECT_EQ(ProgramInfo::steps(QByteArray(), std::numeric_limits<int>::max()).size(), 32767);
}

} // namespace
