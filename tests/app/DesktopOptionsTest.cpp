#include "DesktopOptions.h"

#include <gtest/gtest.h>

namespace {

struct OptionsCase
{
    QStringList arguments; // after the program name
    QString trace;
    bool error;
    QString settings = QString();
};

void PrintTo(const OptionsCase& c, std::ostream* os)
{
    *os << "qx410 " << qPrintable(c.arguments.join(QLatin1Char(' ')));
}

class DesktopOptionsTable : public testing::TestWithParam<OptionsCase>
{
};

TEST_P(DesktopOptionsTable, TraceFileSettingsFolderOrAUsageError)
{
    const OptionsCase& c = GetParam();
    const DesktopOptions o = DesktopOptions::parse(QStringList{QStringLiteral("qx410")} + c.arguments);
    EXPECT_EQ(o.trace, c.trace);
    if (!c.error) {
        EXPECT_EQ(o.settings, c.settings);
    }
    EXPECT_EQ(!o.error.isEmpty(), c.error) << qPrintable(o.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopOptionsTable,
    testing::Values(OptionsCase{{}, QString(), false},
                    OptionsCase{{"--trace", "/tmp/t.txt"}, "/tmp/t.txt", false},
                    OptionsCase{{"--trace=/tmp/t.txt"}, "/tmp/t.txt", false},
                    OptionsCase{{"--trace"}, QString(), true},
                    OptionsCase{{"--trace", ""}, QString(), true},
                    OptionsCase{{"--frobnicate"}, QString(), true},
                    OptionsCase{{"--settings", "/"}, QString(), false, "/"},
                    OptionsCase{{"--settings=/tmp", "--trace", "t.txt"}, "t.txt", false, "/tmp"},
                    OptionsCase{{"--settings", "/nonexistent-qx410-rig"}, QString(), true},
                    OptionsCase{{"--settings", "/dev/null"}, QString(), true},
                    OptionsCase{{"--settings", ""}, QString(), true},
                    OptionsCase{{"--settings"}, QString(), true}));

// The one message of a folder that does not exist or is no folder.
TEST(DesktopOptions, SettingsFolderRefusalNamesIt)
{
    EXPECT_EQ(DesktopOptions::parse({"qx410", "--settings", "/nonexistent-qx410-rig"}).error,
              QStringLiteral("--settings /nonexistent-qx410-rig: there is no such folder"));
    EXPECT_EQ(DesktopOptions::parse({"qx410", "--settings", "/dev/null"}).error,
              QStringLiteral("--settings /dev/null: this is not a folder"));
}

} // namespace
