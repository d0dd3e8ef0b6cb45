#include "CommandFile.h"
#include "CommandLines.h"
#include "HostprogPrinting.h"
#include "ParseHostCommand.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

namespace {

using W = CommandLines::Writer;

struct FormCase
{
    std::string written;
    std::string expected;
};

void PrintTo(const FormCase& c, std::ostream* os)
{
    *os << visible(c.expected);
}

class CommandLinesTable : public testing::TestWithParam<FormCase>
{
};

TEST_P(CommandLinesTable, WritesTheExactForm)
{
    EXPECT_EQ(GetParam().written, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Writers, CommandLinesTable,
    testing::Values(FormCase{CommandLines::move(1200, -350, 40), "Move, 1200, -350, 40"},
                    FormCase{CommandLines::move(0, 0, 0), "Move, 0, 0, 0"},
                    FormCase{CommandLines::move(std::numeric_limits<std::int32_t>::min(), 7, -7),
                             "Move, -2147483648, 7, -7"},
                    FormCase{CommandLines::high(W::Editor, 1000), "High, 1000"},
                    FormCase{CommandLines::low(W::Editor, 200), "Low, 200"},
                    FormCase{CommandLines::high(W::Editor, 65535), "High, 65535"},
                    FormCase{CommandLines::high(W::Upload, 500), "High,  500"},
                    FormCase{CommandLines::low(W::Upload, 0), "Low,  0"},
                    FormCase{CommandLines::pause(W::Editor), "Pause "},
                    FormCase{CommandLines::pause(W::Upload), "Pause  "},
                    FormCase{CommandLines::status({1, 2, 3, 4, -5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}),
                             "Status, 1,2,3,4,-5,6,7,8,9,10,11,12,13,14,15,16,17,18,19"}));

std::array<int, CommandLines::statusCount> extremeStatus()
{
    return {255, 255, 255, 255, -32768, -32768, -32768, -32768, -32768, 255,
            255, -32768, -32768, -32768, -32768, -32768, -32768, -32768, -32768};
}

TEST(CommandLinesStatus, ExtremeValuesAreWrittenWhole)
{
    const std::string line = CommandLines::status(extremeStatus());
    EXPECT_EQ(line.size(), 122u);
    EXPECT_EQ(line.substr(line.size() - 14), ",-32768,-32768");
}

TEST(CommandLinesStatus, NeverMovesAndSurvivesTheEditor)
{
    const std::string line = CommandLines::status(extremeStatus());
    EXPECT_EQ(ParseHostCommand(line + "\r\n"), HostCommand{});
    std::stringstream file;
    ASSERT_TRUE(CommandFile::writeTo(file, {line}));
    EXPECT_EQ(CommandFile::textsOf(file), std::vector<std::string>{line});
}

// What one writer writes, every executing reader reads as the same step.
TEST(CommandLinesReadBack, EditorAndUploadFilesExecuteIdentically)
{
    const std::vector<std::string> editor = {CommandLines::high(W::Editor, 500), CommandLines::move(100, -20, 3),
                                             CommandLines::pause(W::Editor), CommandLines::low(W::Editor, 1000),
                                             CommandLines::move(-25, 0, 7)};
    const std::vector<std::string> upload = {CommandLines::high(W::Upload, 500), CommandLines::move(100, -20, 3),
                                             CommandLines::pause(W::Upload), CommandLines::low(W::Upload, 1000),
                                             CommandLines::move(-25, 0, 7)};
    const std::vector<HostCommand> expected = {
        {HostCommand::Kind::High, 0, 0, 0, 500}, {HostCommand::Kind::Move, 100, -20, 3, 0}, {HostCommand::Kind::Pause},
        {HostCommand::Kind::Low, 0, 0, 0, 1000}, {HostCommand::Kind::Move, -25, 0, 7, 0}};
    for (const auto* lines : {&editor, &upload}) {
        std::stringstream file;
        ASSERT_TRUE(CommandFile::writeTo(file, *lines));
        std::vector<HostCommand> commands;
        for (const std::string& line : CommandFile::linesOf(file))
            commands.push_back(ParseHostCommand(line));
        EXPECT_EQ(commands, expected);
    }
}

TEST(CommandLinesReadBack, WrittenNumbersReadBack)
{
    // Every 32-bit number, whatever the blanks before it, reads back whole.
    for (const std::int32_t n : {0, 1, -1, 32767, -32768, 65535, 99999999, -99999999, 999999999, -2147483647}) {
        const HostCommand move = ParseHostCommand(CommandLines::move(n, -n, n) + "\r\n");
        EXPECT_EQ(move.kind, HostCommand::Kind::Move);
        EXPECT_EQ(move.x, n);
        EXPECT_EQ(move.y, -n);
        EXPECT_EQ(move.z, n);
        EXPECT_EQ(ParseHostCommand(CommandLines::high(W::Editor, n) + "\r\n").v, n) << n;
        EXPECT_EQ(ParseHostCommand(CommandLines::low(W::Upload, n) + "\r\n").v, n) << n;
    }
}

} // namespace
