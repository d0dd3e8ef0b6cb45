// Micrometres written as text into the controller's microsteps.

#include "Microns.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Exact decimal conversion, halves of a microstep away from zero.
TEST(Microns, NumbersBecomeTheNearestMicrostep)
{
    const struct {
        const char* word;
        std::optional<std::int64_t> steps; // nothing: no number
    } cases[] = {
        { "12", 300 },
        { "+4", 100 },
        { "-0", 0 },
        { "12.5", 313 },
        { "-0.04", -1 },
        { "100.36", 2509 },
        { "0.02", 1 },
        { "-0.02", -1 },
        { "0.0199999", 0 },
        { "100.02", 2501 },
        { "0.06", 2 },
        { "0.05", 1 },
        { "-.5", -13 },
        { "7.", 175 },
        { "1e3", 25000 },
        { "5e-2", 1 },
        { "-1.004E2", -2510 },
        { "0e99999", 0 },
        { "1e-99999", 0 },
        { " 12 ", {} },
        { "85899345.88", std::numeric_limits<std::int32_t>::max() },
        { "-85899345.92", std::numeric_limits<std::int32_t>::min() },
        { "abc", {} },
        { "12abc", {} },
        { "1.2.3", {} },
        { ".", {} },
        { "", {} },
        { "-", {} },
        { "e5", {} },
        { "0x10", {} },
        { "1,5", {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Microns::parse(c.word, Microns::Exponent::Allowed), c.steps) << c.word;
    // Without exponents, a word that has one is no number.
    EXPECT_EQ(Microns::parse("1e3"), std::nullopt);
}

TEST(Microns, OnlyThirtyTwoBitTargetsFitTheController)
{
    const struct {
        const char* word;
        bool fits;
    } cases[] = {
        { "85899345", true },
        { "85899345.88", true },
        { "85899345.89", true },
        { "85899345.90", false }, // 2147483647.5 microsteps: half a step up, one past the range
        { "85899346", false },
        { "-85899345.92", true },
        { "-85899345.96", false },
        { "1e400", false },
        { "-99999999999999999999999", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Microns::fitsController(*Microns::parse(c.word, Microns::Exponent::Allowed)), c.fits) << c.word;
}

} // namespace
