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

TEST(ManualMoveLogic, StepSizeBeyondThirtyTwoBitsWrapsLikeTheWireInsteadOfOverflowing)
{
    const Position p = ManualMoveLogic::stepTarget(Position{2147483000, 0, 0}, Step::Right, "1000");
    EXPECT_LT(p.x, 0);
    EXPECT_EQ(ManualMoveLogic::fieldValue("1234567890123456789"), 2147483647); // only 15 characters read
}

} // namespace
