#include "DesktopOptions.h"

#include <gtest/gtest.h>

namespace {

struct OptionsCase
{
    QStringList arguments; // after the program name
    QString trace;
    bool error;
};

void PrintTo(const OptionsCase& c, std::ostream* os)
{
    *os << "qx410 " << qPrintable(c.arguments.join(QLatin1Char(' ')));
}

class DesktopOptionsTable : public testing::TestWithParam<OptionsCase>
{
};

TEST_P(DesktopOptionsTable, TraceFileOrAUsageError)
{
    const OptionsCase& c = GetParam();
    const DesktopOptions o = DesktopOptions::parse(QStringList{QStringLiteral("qx410")} + c.arguments);
    EXPECT_EQ(o.trace, c.trace);
    EXPECT_EQ(!o.error.isEmpty(), c.error) << qPrintable(o.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopOptionsTable,
    testing::Values(OptionsCase{{}, QString(), false},
                    OptionsCase{{"--trace", "/tmp/t.txt"}, "/tmp/t.txt", false},
                    OptionsCase{{"--trace=/tmp/t.txt"}, "/tmp/t.txt", false},
                    OptionsCase{{"--trace"}, QString(), true},
                    OptionsCase{{"--trace", ""}, QString(), true},
                    OptionsCase{{"--frobnicate"}, QString(), true}));

} // namespace
