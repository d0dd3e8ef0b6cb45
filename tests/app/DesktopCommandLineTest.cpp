#include "DesktopCommandLine.h"

#include "Qx410Version.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

struct InfoCase
{
    std::vector<const char*> args; // after the program name
    bool answered;
    const char* startOfOutput;
};

class DesktopCommandLineAnswers : public testing::TestWithParam<InfoCase>
{
};

} // namespace

TEST_P(DesktopCommandLineAnswers, OnlyHelpAndVersionBeforeAnyDoubleDash)
{
    std::vector<const char*> argv = { "qx410" };
    argv.insert(argv.end(), GetParam().args.begin(), GetParam().args.end());
    std::ostringstream out;
    const std::optional<int> status = DesktopCommandLine::answer(static_cast<int>(argv.size()), argv.data(), out);
    EXPECT_EQ(status.has_value(), GetParam().answered);
    if (status) {
        EXPECT_EQ(*status, 0);
    }
    EXPECT_EQ(out.str().rfind(GetParam().startOfOutput, 0), 0u) << out.str();
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, DesktopCommandLineAnswers,
    testing::Values(InfoCase { {}, false, "" }, InfoCase { { "-platform", "offscreen" }, false, "" },
                    InfoCase { { "--help" }, true, "Usage: qx410 " }, InfoCase { { "-h" }, true, "Usage: qx410 " },
                    InfoCase { { "--version" }, true, "qx410 " QX410_VERSION "\n" },
                    InfoCase { { "-style", "Fusion", "-v" }, true, "qx410 " QX410_VERSION "\n" },
                    InfoCase { { "--", "--help" }, false, "" }));

TEST(DesktopCommandLine, VersionIsTheProjectVersionOnOneLine)
{
    EXPECT_EQ(DesktopCommandLine::version(), "qx410 " QX410_VERSION "\n");
    EXPECT_STRNE(QX410_VERSION, "");
}
