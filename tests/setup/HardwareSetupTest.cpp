#include "HardwareSetup.h"
#include "HardwareRig.h"
#include "Printing.h"

#include <gtest/gtest.h>

namespace {

enum class Operation { Reset, SetOrigin };

struct AskCase {
    const char* name;
    Operation operation;
    Prompts::Answer answer;
    const char* question;
    const char* bytes; // nullptr: nothing sent
};

void PrintTo(const AskCase& c, std::ostream* os)
{
    *os << c.name;
}

class HardwareSetupAsk : public testing::TestWithParam<AskCase> { };

TEST_P(HardwareSetupAsk, SendsOnlyOnYes)
{
    const AskCase& c = GetParam();
    HardwareRig r;
    HardwareSetup setup(r.control, r.prompts);
    r.prompts.answers.push_back(c.answer);

    const bool sent = c.operation == Operation::Reset ? setup.reset() : setup.setOrigin();

    ASSERT_EQ(r.prompts.shown.size(), 1);
    EXPECT_EQ(r.prompts.shown[0].text, QString::fromLatin1(c.question));
    EXPECT_EQ(r.prompts.shown[0].caption, QStringLiteral("Hardware Setup"));
    EXPECT_EQ(r.prompts.shown[0].icon, Prompts::Icon::Question);
    EXPECT_EQ(r.prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    EXPECT_EQ(sent, c.bytes != nullptr);
    if (!c.bytes) {
        EXPECT_EQ(r.sent(), QByteArray());
        EXPECT_EQ(r.slept(), 0);
        EXPECT_EQ(r.purges(), 0);
        return;
    }
    // Send and settle; no reply read, no position query after it.
    EXPECT_EQ(r.sent(), hex(c.bytes));
    EXPECT_EQ(r.slept(), 100);
    EXPECT_EQ(r.purges(), 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, HardwareSetupAsk,
    testing::Values(
        AskCase { "ResetYes", Operation::Reset, Prompts::Answer::Yes, "Do You Want to Reset the Controller?", "72 0D" },
        AskCase { "ResetNo", Operation::Reset, Prompts::Answer::No, "Do You Want to Reset the Controller?", nullptr },
        AskCase {
            "SetYes", Operation::SetOrigin, Prompts::Answer::Yes, "Set Origin to the Current Position?", "6F 0D" },
        AskCase { "SetNo", Operation::SetOrigin, Prompts::Answer::No, "Set Origin to the Current Position?", nullptr }),
    [](const testing::TestParamInfo<AskCase>& info) { return std::string(info.param.name); });

TEST(HardwareSetup, ResetThenSetInOneVisitEachSettles)
{
    HardwareRig r;
    HardwareSetup setup(r.control, r.prompts);
    r.prompts.answers = { Prompts::Answer::Yes, Prompts::Answer::Yes };

    EXPECT_TRUE(setup.reset());
    EXPECT_EQ(r.sent(), hex("72 0D"));
    EXPECT_EQ(r.slept(), 100);
    EXPECT_EQ(r.purges(), 1);

    EXPECT_TRUE(setup.setOrigin());
    EXPECT_EQ(r.sent(), hex("72 0D 6F 0D"));
    EXPECT_EQ(r.slept(), 200);
    EXPECT_EQ(r.purges(), 2);
}

TEST(HardwareSetup, TheControllerCarriesThemOut)
{
    HardwareRig r;
    HardwareSetup setup(r.control, r.prompts);
    r.placeController({ 2500, -500, 75 });
    ASSERT_EQ(r.controller.position(r.clock.nowMs()), (qx410sim::SimController::Axes { 2500, -500, 75 }));
    r.controller.receive(reinterpret_cast<const std::uint8_t*>("V\x10\x80\r"), 4, r.clock.nowMs());
    ASSERT_EQ(r.controller.velocityWord(), 0x8010);

    r.prompts.answers = { Prompts::Answer::Yes };
    EXPECT_TRUE(setup.setOrigin());
    EXPECT_EQ(r.controller.position(r.clock.nowMs()), (qx410sim::SimController::Axes { 0, 0, 0 }));

    r.prompts.answers = { Prompts::Answer::Yes };
    EXPECT_TRUE(setup.reset());
    EXPECT_EQ(r.controller.velocityWord(), qx410sim::SimController::kPowerUpVelocityWord);
}

TEST(HardwareSetup, NoToBothSendsNothing)
{
    HardwareRig r;
    HardwareSetup setup(r.control, r.prompts);
    r.prompts.answers = { Prompts::Answer::No, Prompts::Answer::No };
    EXPECT_FALSE(setup.reset());
    EXPECT_FALSE(setup.setOrigin());
    EXPECT_EQ(r.prompts.shown.size(), 2);
    EXPECT_EQ(r.sent(), QByteArray());
    EXPECT_EQ(r.controller.commandsHandled(), 0u);
}

} // namespace
