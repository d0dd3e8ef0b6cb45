// Micrometres typed on qx410ctl's command line into microsteps, and
// microsteps printed back in micrometres (the reading itself: tests/limits).

#include "JsonLine.h"
#include "MicronText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Blanks around a word are no part of the number.
TEST(MicronText, BlanksAroundAWordAreDropped)
{
    EXPECT_EQ(MicronText::toMicrosteps(QStringLiteral(" 12 ")), 300);
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
