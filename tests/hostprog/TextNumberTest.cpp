#include "TextNumber.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

struct Case
{
    const char* text;
    std::int32_t value;
};

class TextNumberTable : public testing::TestWithParam<Case>
{
};

TEST_P(TextNumberTable, ReadsSignAndLeadingDigits)
{
    EXPECT_EQ(TextNumber::parse(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextNumberTable,
    testing::Values(Case{"100", 100}, Case{"-50", -50}, Case{"+7", 7}, Case{"  \t 42", 42}, Case{"12.7", 12},
                    Case{"12abc", 12}, Case{"abc", 0}, Case{"", 0}, Case{"-", 0}, Case{"+-3", 0}, Case{"- 3", 0},
                    Case{"007", 7}, Case{"2147483647", std::numeric_limits<std::int32_t>::max()},
                    Case{"-2147483648", std::numeric_limits<std::int32_t>::min()},
                    Case{"99999999999999999999", std::numeric_limits<std::int32_t>::max()},
                    Case{"-99999999999999999999", std::numeric_limits<std::int32_t>::min()}));

TEST(TextNumber, CountsTheNumbersSignAndDigitsWithoutTheBlanksBeforeIt)
{
    const struct {
        const char* text;
        std::size_t chars;
    } table[] = {{"", 0}, {"   ", 0}, {"abc", 0}, {"7", 1}, {"       -12700", 6}, {" \t+0127x", 5},
                 {"12.75", 2}, {"- 3", 1}, {"  000000000012", 12}, {"-2147483648\r\n", 11}};
    for (const auto& row : table)
        EXPECT_EQ(TextNumber::numberChars(row.text), row.chars) << '"' << row.text << '"';
}

TEST(TextNumber, LooksAtTheFirstCharactersOnly)
{
    EXPECT_EQ(TextNumber::parse("123456789012345678", 15), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(TextNumber::parse(std::string(15, ' ') + "123", 15), 0);
    EXPECT_EQ(TextNumber::parse("            12345", 15), 123);
    EXPECT_EQ(TextNumber::parse(std::string("12\0 34", 6)), 12);
}

} // namespace
