// Reverse Path: the blocks that start at speed lines come in reverse order,
// and inside each block the other lines are reversed behind its speed line.

#include "CaptureSession.h"
#include "Printing.h"

#include <gtest/gtest.h>

namespace {

struct Reversal
{
    const char* name;
    QStringList before;
    QStringList after;
};

std::ostream& operator<<(std::ostream& os, const Reversal& r)
{
    return os << r.name;
}

class CaptureReverse : public testing::TestWithParam<Reversal>
{
};

TEST_P(CaptureReverse, Examples)
{
    EXPECT_EQ(CaptureSession::reversed(GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, CaptureReverse,
    testing::Values(
        Reversal{"Empty", {}, {}},
        Reversal{"OneLine", {"Move, 1, 2, 3"}, {"Move, 1, 2, 3"}},
        Reversal{"NoSpeedLine", {"M1", "M2", "Pause ", "M3"}, {"M3", "Pause ", "M2", "M1"}},
        Reversal{"TwoBlocks", {"High, 1", "M1", "M2", "Low, 2", "M3", "M4"},
                 {"Low, 2", "M4", "M3", "High, 1", "M2", "M1"}},
        Reversal{"LinesBeforeTheFirstSpeedLine", {"M0", "High, 1", "M1"}, {"High, 1", "M1", "M0"}},
        Reversal{"SpeedLinesOnly", {"Low, 1", "High, 2", "Low, 3"}, {"Low, 3", "High, 2", "Low, 1"}},
        Reversal{"SpeedLineLast", {"High, 1", "M1", "Low, 2"}, {"Low, 2", "High, 1", "M1"}},
        Reversal{"PauseAndStatusAreOrdinary",
                 {"Low, 5", "Status, 1,2", "M1", "Pause ", "High, 6", "M2", "Pause "},
                 {"High, 6", "Pause ", "M2", "Low, 5", "Pause ", "M1", "Status, 1,2"}},
        Reversal{"KeywordsByTheirFirstLetters", {"Lowest", "M1", "Highway", "M2", "low, 1", "M3"},
                 {"Highway", "M3", "low, 1", "M2", "Lowest", "M1"}}),
    [](const testing::TestParamInfo<Reversal>& info) { return std::string(info.param.name); });

TEST(CaptureReverseTwice, GivesTheListBackWhenItStartsWithASpeedLine)
{
    const QStringList start{"High, 1000", "M1", "Pause ", "M2", "Low, 200", "M3", "Status, 9", "Low, 7"};
    EXPECT_EQ(CaptureSession::reversed(CaptureSession::reversed(start)), start);
}

TEST(CaptureReverseTwice, DoesNotWhenLinesComeBeforeTheFirstSpeedLine)
{
    const QStringList start{"M0", "High, 1", "M1"};
    const QStringList twice = CaptureSession::reversed(CaptureSession::reversed(start));
    EXPECT_EQ(twice, QStringList({"High, 1", "M0", "M1"}));
    EXPECT_NE(twice, start);
}

} // namespace
