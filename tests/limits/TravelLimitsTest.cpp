#include "TravelLimits.h"
#include "TravelLimitsText.h"

#include <gtest/gtest.h>

namespace {

// How a limit is read is Microns' (its own test); here: the controller's range, and the text written back.
TEST(TravelLimits, MicronsAreReadToTheNearestStepAndWrittenBack)
{
    struct Row
    {
        const char* text;
        std::optional<std::int64_t> microsteps;
        const char* written;
    };
    const Row rows[] = {
        { "-5000", -125000, "-5000" },
        { "+12.5", 313, "12.52" }, // 12.5 µm is 312.5 steps: rounded away from zero
        { "0.04", 1, "0.04" },
        { "0.02", 1, "0.04" },
        { "-0.019", 0, "0" },
        { "-.5", -13, "-0.52" },
        { "85899345.88", 2147483647, "85899345.88" },
        { "-85899345.92", -2147483648LL, "-85899345.92" },
        { "85899345.9", std::nullopt, "" },
        { "1000000000.1", std::nullopt, "" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(TravelLimits::parseMicrons(row.text), row.microsteps);
        if (row.microsteps) {
            EXPECT_EQ(TravelLimits::micronsText(*row.microsteps), row.written);
        }
    }
}

TEST(TravelLimits, ATargetOnALimitPassesOneStepBeyondIsRefusedWithTheLimitNamed)
{
    TravelLimits limits;
    ASSERT_TRUE(limits.setRange(2, { -125000, std::nullopt }));
    ASSERT_TRUE(limits.setRange(0, { -250, 250 }));
    EXPECT_FALSE(limits.setRange(1, { 10, 9 }));
    EXPECT_TRUE(limits.any());
    EXPECT_FALSE(limits.breach(250, 99999999, -125000));
    EXPECT_FALSE(limits.breach(-250, 0, 2000000000));

    const auto floor = limits.breach(0, 0, -150000);
    ASSERT_TRUE(floor);
    EXPECT_EQ(TravelLimits::refusalText(*floor), "Z = -6000 µm lies below the Z floor of -5000 µm. Nothing was sent.");
    EXPECT_EQ(TravelLimits::lineReason(*floor), "moves to Z = -6000 µm, below the Z floor of -5000 µm");
    const auto above = limits.breach(251, 0, -150000); // X is looked at first
    ASSERT_TRUE(above);
    EXPECT_EQ(TravelLimits::refusalText(*above), "X = 10.04 µm lies above the X upper limit of 10 µm. Nothing was sent.");
    EXPECT_EQ(TravelLimits::limitName(1, true), "Y lower limit");
    EXPECT_FALSE(TravelLimits().any());
}

TEST(TravelLimits, TheFileKeepsTheLimitsAndRefusesAnythingItCannotReadWhole)
{
    TravelLimits limits;
    limits.setRange(0, { -25, 12 });
    limits.setRange(2, { -125000, std::nullopt });
    std::string error;
    const std::string text = TravelLimitsText::format(limits);
    EXPECT_NE(text.find("\nX -1 0.48\nY off off\nZ -5000 off\n"), std::string::npos);
    EXPECT_EQ(TravelLimitsText::parse(text, &error), limits);
    TravelLimits floorOnly;
    floorOnly.setRange(2, { -125000, std::nullopt });
    EXPECT_EQ(TravelLimitsText::parse("\r\n# a floor only\r\n  z -5000 OFF\r\n", &error), floorOnly);

    const std::pair<const char*, const char*> bad[] = {
        { "Q 1 2\n", "line 1: \"Q\" is not an axis (X, Y or Z)" },
        { "X 1 2\nX 1 2\n", "line 2: X is named twice" },
        { "X 1\n", "line 1: an axis, a lower and an upper limit are expected" },
        { "X 1 2 3\n", "line 1: an axis, a lower and an upper limit are expected" },
        { "X one 2\n", "line 1: a limit is a number of micrometres or \"off\"" },
        { "#\nY 5 -5\n", "line 2: the lower limit lies above the upper one" },
    };
    for (const auto& [content, message] : bad) {
        SCOPED_TRACE(content);
        error.clear();
        EXPECT_EQ(TravelLimitsText::parse(content, &error), std::nullopt);
        EXPECT_EQ(error, message);
    }
}

} // namespace
