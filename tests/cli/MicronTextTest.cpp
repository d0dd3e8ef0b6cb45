// Micrometres typed on qx410ctl's command line into microsteps, and
// microsteps printed back in micrometres.

#include "JsonLine.h"
#include "MicronText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Exact decimal conversion, halves of a microstep away from zero.
TEST(MicronText, NumbersBecomeTheNearestMicrostep)
{
    const struct
    {
        const char* word;
        std::optional<qint64> steps; // nothing: no number
    } cases[] = {
        {"12", 300},      {"+4", 100},         {"-0", 0},          {"12.5", 313},      {"-0.04", -1},
        {"100.36", 2509}, {"0.02", 1},         {"-0.02", -1},      {"0.0199999", 0},   {"100.02", 2501},
        {"0.06", 2},      {"0.05", 1},         {"-.5", -13},       {"7.", 175},        {"1e3", 25000},
        {"5e-2", 1},      {"-1.004E2", -2510}, {"0e99999", 0},     {"1e-99999", 0},    {" 12 ", 300},
        {"85899345.88", std::numeric_limits<qint32>::max()},       {"-85899345.92", std::numeric_limits<qint32>::min()},
        {"abc", {}},      {"12abc", {}},       {"1.2.3", {}},      {".", {}},          {"", {}},
        {"-", {}},        {"e5", {}},          {"0x10", {}},       {"1,5", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MicronText::toMicrosteps(QString::fromLatin1(c.word)), c.steps) << c.word;
}

TEST(MicronText, OnlyThirtyTwoBitTargetsFitTheController)
{
    const struct
    {
        const char* word;
        bool fits;
    } cases[] = {
        {"85899345", true},
        {"85899345.88", true},
        {"85899345.89", true},
        {"85899345.90", false}, // 2147483647.5 microsteps: half a step up, one past the range
        {"85899346", false},
        {"-85899345.92", true},
        {"-85899345.96", false},
        {"1e400", false},
        {"-99999999999999999999999", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MicronText::fitsController(*MicronText::toMicrosteps(QString::fromLatin1(c.word))), c.fits) << c.word;
}

// Whole micrometres at low resolution, hundredths at high resolution, in
// text and in JSON.
TEST(MicronText, HighResolutionPrintsHundredths)
{
    const struct
    {
        Position steps;
        bool high;
        const char* text;
        const char* json;
    } cases[] = {
        {{312, -75, 2501}, true, "12.48 -3.00 100.04", "{\"x\":12.48,\"y\":-3,\"z\":100.04}"},
        {{312, -75, 2501}, false, "12 -3 100", "{\"x\":12,\"y\":-3,\"z\":100}"},
        {{-1, 13, -13}, true, "-0.04 0.52 -0.52", "{\"x\":-0.04,\"y\":0.52,\"z\":-0.52}"},
        {{-1, 13, -13}, false, "0 1 -1", "{\"x\":0,\"y\":1,\"z\":-1}"},
        {{std::numeric_limits<qint32>::min(), 0, std::numeric_limits<qint32>::max()}, true,
         "-85899345.92 0.00 85899345.88", "{\"x\":-85899345.92,\"y\":0,\"z\":85899345.88}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonLine::microstepsLine(c.steps, c.high, false), QLatin1String(c.text));
        EXPECT_EQ(JsonLine::microstepsLine(c.steps, c.high, true), QLatin1String(c.json));
    }
}

} // namespace
