#include "ManualMoveLogic.h"
#include "Printing.h"

#include <gtest/gtest.h>

namespace {

using Step = ManualMoveLogic::Step;

TEST(ManualMoveLogic, MoveTakesTheFieldsAsMicrometres)
{
    EXPECT_EQ(ManualMoveLogic::moveTarget("100", "-50", "0"), (Position{2500, -1250, 0}));
    EXPECT_EQ(ManualMoveLogic::moveTarget("12.7", "abc", " -3x"), (Position{300, 0, -75}));
    EXPECT_EQ(ManualMoveLogic::moveTarget("", "+12700", "-12700"), (Position{0, 317500, -317500}));
}

struct StepCase
{
    Step step;
    const char* size;
    Position expected;
};

class ManualMoveSteps : public testing::TestWithParam<StepCase>
{
};

TEST_P(ManualMoveSteps, ChangeOneCoordinateOfTheCurrentPosition)
{
    const Position current{25000, -500, 100};
    EXPECT_EQ(ManualMoveLogic::stepTarget(current, GetParam().step, GetParam().size), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, ManualMoveSteps,
                         testing::Values(StepCase{Step::Right, "10", {25250, -500, 100}},
                                         StepCase{Step::Left, "10", {24750, -500, 100}},
                                         StepCase{Step::Back, "1000", {25000, -25500, 100}},
                                         StepCase{Step::Front, "1000", {25000, 24500, 100}},
                                         StepCase{Step::Up, "100", {25000, -500, -2400}},
                                         StepCase{Step::Down, "100", {25000, -500, 2600}},
                                         StepCase{Step::Right, "-10", {24750, -500, 100}},
                                         StepCase{Step::Right, "", {25000, -500, 100}},
                                         StepCase{Step::Right, "abc", {25000, -500, 100}},
                                         StepCase{Step::Down, "250", {25000, -500, 6350}}));

// A jog key's step: ten times the step size, or a tenth of it rounded to the
// nearest microstep, halves away from zero.
TEST(ManualMoveLogic, ScaledStepsInMicrosteps)
{
    using Scale = ManualMoveLogic::Scale;
    const struct
    {
        const char* size;
        Scale scale;
        qint64 microsteps;
    } cases[] = {{"10", Scale::Normal, 250}, {"10", Scale::Tenfold, 2500}, {"10", Scale::Tenth, 25},
                 {"1", Scale::Tenth, 3},     {"-1", Scale::Tenth, -3},     {"3", Scale::Tenth, 8},
                 {"85899345", Scale::Tenfold, 21474836250}};
    for (const auto& c : cases)
        EXPECT_EQ(ManualMoveLogic::stepMicrosteps(c.size, c.scale), c.microsteps) << c.size;
    EXPECT_EQ(ManualMoveLogic::stepTarget(Position{0, 0, 0}, Step::Up, "100", Scale::Tenfold),
              (Position{0, 0, -25000}));
}

// A target whose microsteps do not fit in 32 bits would wrap round on the
// wire; it is refused, naming the axis, and the largest that fit pass as they are.
TEST(ManualMoveLogic, TargetsBeyondThirtyTwoBitsAreRefusedNotWrapped)
{
    QString refusal;
    EXPECT_EQ(ManualMoveLogic::moveTarget("85899345", "-85899345", "0", &refusal),
              (Position{2147483625, -2147483625, 0}));
    EXPECT_FALSE(ManualMoveLogic::moveTarget("0", "85899346", "0", &refusal));
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("Y = 85899346 µm lies outside"))) << qPrintable(refusal);
    EXPECT_FALSE(ManualMoveLogic::moveTarget("0", "0", "1234567890123456789"));

    EXPECT_EQ(ManualMoveLogic::stepTarget(Position{2147483622, 0, 0}, Step::Left, "-1"), (Position{2147483647, 0, 0}));
    EXPECT_FALSE(ManualMoveLogic::stepTarget(Position{2147483000, 0, 0}, Step::Right, "1000", &refusal));
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("X = 85900320 µm"))) << qPrintable(refusal);
    EXPECT_FALSE(ManualMoveLogic::stepTarget(Position{0, 0, -25}, Step::Up, "85899345"));
    EXPECT_EQ(ManualMoveLogic::fieldValue("1234567890123456789"), 2147483647); // only 15 characters read
}

} // namespace
