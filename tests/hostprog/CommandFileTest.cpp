#include "CommandFile.h"
#include "LineReader.h"
#include "CommandLines.h"
#include "HostprogPrinting.h"
#include "ParseHostCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using Lines = std::vector<std::string>;
using W = CommandLines::Writer;

std::string contents(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void put(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(CommandFileWrite, WritesEveryLineWithCrLf)
{
    TempFolder folder;
    const auto path = folder.file("path.dat");
    ASSERT_TRUE(CommandFile::write(path, {"Move, 1200, -350, 40", "High, 1000", "Low, 200", "Pause "}));
    EXPECT_EQ(contents(path), "Move, 1200, -350, 40\r\nHigh, 1000\r\nLow, 200\r\nPause \r\n");

    ASSERT_TRUE(CommandFile::write(path, {"Pause "})); // truncates
    EXPECT_EQ(contents(path), "Pause \r\n");
    ASSERT_TRUE(CommandFile::write(path, {}));
    EXPECT_EQ(contents(path), "");
}

TEST(CommandFileWrite, ReportsFailure)
{
    TempFolder folder;
    EXPECT_FALSE(CommandFile::write(folder.file("missing") / "path.dat", {"Pause "}));
    EXPECT_FALSE(CommandFile::write(folder.path(), {"Pause "}));
    if (std::filesystem::exists("/dev/full")) { // opens, but every write fails
        EXPECT_FALSE(CommandFile::write("/dev/full", {"Pause "}));
    }
}

TEST(CommandFileRead, FileThatCannotBeOpenedReadsNothing)
{
    TempFolder folder;
    Lines lines{"left over"};
    EXPECT_FALSE(CommandFile::readLines(folder.file("missing.dat"), lines));
    EXPECT_TRUE(lines.empty());
    Lines texts{"left over"};
    EXPECT_FALSE(CommandFile::readTexts(folder.file("missing.dat"), texts));
    EXPECT_TRUE(texts.empty());
    EXPECT_FALSE(CommandFile::readLines(folder.path(), lines));
    EXPECT_FALSE(CommandFile::readTexts(folder.path(), texts));
    EXPECT_EQ(std::string(CommandFile::cannotLoadText), "Can not load file, please check what is wrong!");
}

TEST(CommandFileRead, EmptyFileHasNoLines)
{
    TempFolder folder;
    put(folder.file("empty.dat"), "");
    Lines lines{"left over"};
    EXPECT_TRUE(CommandFile::readLines(folder.file("empty.dat"), lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(CommandFile::readTexts(folder.file("empty.dat"), lines));
    EXPECT_TRUE(lines.empty());
}

TEST(CommandFileRead, ExecutorsGetRawLinesCutAtTheLimit)
{
    TempFolder folder;
    const std::string longLine = "Move, 1, 2, 3" + std::string(200, ' ');
    put(folder.file("raw.dat"), "High, 1000\r\n" + longLine + "\r\nPause\nLow, 5");
    Lines lines;
    ASSERT_TRUE(CommandFile::readLines(folder.file("raw.dat"), lines));
    EXPECT_EQ(lines, (Lines{"High, 1000\r\n", longLine.substr(0, 118) + "\r\n", "Pause\n", "Low, 5"}));
}

// A list the editor saves reads back entry for entry, a Status line of 122
// characters and entries of a bare LF included.
TEST(CommandFileRead, EditorListSurvivesSaveAndLoad)
{
    TempFolder folder;
    const Lines list = {CommandLines::move(1200, -350, 40),
                        CommandLines::high(W::Editor, 1000),
                        CommandLines::pause(W::Editor),
                        CommandLines::status({255, 255, 255, 255, -32768, -32768, -32768, -32768, -32768, 255, 255,
                                              -32768, -32768, -32768, -32768, -32768, -32768, -32768, -32768}),
                        "",
                        "Low, 200"};
    ASSERT_TRUE(CommandFile::write(folder.file("list.dat"), list));
    Lines texts;
    ASSERT_TRUE(CommandFile::readTexts(folder.file("list.dat"), texts));
    EXPECT_EQ(texts, list);

    // Saved again, the file is the same byte for byte.
    const std::string first = contents(folder.file("list.dat"));
    ASSERT_TRUE(CommandFile::write(folder.file("list.dat"), texts));
    EXPECT_EQ(contents(folder.file("list.dat")), first);
}

// The readers skip one byte-order mark at the start of a file, so a first
// entry that begins with one keeps it only when the writer adds its own.
TEST(CommandFileRead, FirstEntryBeginningWithAByteOrderMarkSurvivesSaveAndLoad)
{
    TempFolder folder;
    const Lines list = {std::string(LineReader::byteOrderMark) + "High, 1000", "Pause "};
    ASSERT_TRUE(CommandFile::write(folder.file("mark.dat"), list));
    Lines texts;
    ASSERT_TRUE(CommandFile::readTexts(folder.file("mark.dat"), texts));
    EXPECT_EQ(texts, list);
}

TEST(CommandFileRead, EditorEntriesOfForeignLineEnds)
{
    TempFolder folder;
    put(folder.file("foreign.dat"), "Move, 1, 2, 3\n\nPause\r\nHigh, 7");
    Lines texts;
    ASSERT_TRUE(CommandFile::readTexts(folder.file("foreign.dat"), texts));
    EXPECT_EQ(texts, (Lines{"Move, 1, 2, 3", "", "Pause", "High, 7"}));
}

} // namespace
