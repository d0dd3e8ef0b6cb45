#include "Units.h"

#include "Printing.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Conversion
{
    qint32 from;
    qint32 to;
};

void PrintTo(const Conversion& c, std::ostream* os) { *os << c.from << " -> " << c.to; }

// Microsteps to whole micrometres: n * 0.04 rounded half away from zero.
class MicrostepsToMicrons : public ::testing::TestWithParam<Conversion> {};

TEST_P(MicrostepsToMicrons, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(Units::microstepsToMicrons(GetParam().from), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Table, MicrostepsToMicrons, ::testing::Values(
    Conversion{0, 0},
    Conversion{12, 0},      // 0.48
    Conversion{13, 1},      // 0.52
    Conversion{-12, 0},
    Conversion{-13, -1},
    Conversion{25, 1},
    Conversion{37, 1},      // 1.48
    Conversion{38, 2},      // 1.52
    Conversion{-37, -1},
    Conversion{-38, -2},
    Conversion{24999, 1000},
    Conversion{25000, 1000},
    Conversion{-25000, -1000},
    Conversion{std::numeric_limits<qint32>::max(), 85899346},  // 85899345.88
    Conversion{std::numeric_limits<qint32>::min(), -85899346})); // -85899345.92

// Micrometres to microsteps: exact * 25, wrapping to 32 bits beyond +-85,899,345.
class MicronsToMicrosteps : public ::testing::TestWithParam<Conversion> {};

TEST_P(MicronsToMicrosteps, MultipliesByTwentyFiveWrappingTo32Bits)
{
    EXPECT_EQ(Units::micronsToMicrosteps(GetParam().from), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Table, MicronsToMicrosteps, ::testing::Values(
    Conversion{0, 0},
    Conversion{1, 25},
    Conversion{-1, -25},
    Conversion{1000, 25000},
    Conversion{85899345, 2147483625},
    Conversion{-85899345, -2147483625},
    Conversion{85899346, -2147483646},   // 2147483650 - 2^32
    Conversion{-85899346, 2147483646},   // -2147483650 + 2^32
    Conversion{std::numeric_limits<qint32>::max(), 2147483623},
    Conversion{std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::min()}));

class MicronsRoundTrip : public ::testing::TestWithParam<qint32> {};

TEST_P(MicronsRoundTrip, MicronsSurviveTheTripThroughMicrosteps)
{
    const qint32 microns = GetParam();
    EXPECT_EQ(Units::microstepsToMicrons(Units::micronsToMicrosteps(microns)), microns);
}

INSTANTIATE_TEST_SUITE_P(InRange, MicronsRoundTrip,
                         ::testing::Values(0, 1, -1, 7, -7, 999, 123456, -123456, 85899345, -85899345));

TEST(UnitsPosition, ConvertsEachAxisOnItsOwn)
{
    EXPECT_EQ(Units::micronsToMicrosteps(Position{-1, 0, 1000}), (Position{-25, 0, 25000}));
    EXPECT_EQ(Units::microstepsToMicrons(Position{13, -13, 25000}), (Position{1, -1, 1000}));
}

} // namespace
