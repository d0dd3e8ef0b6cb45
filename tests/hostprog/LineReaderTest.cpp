#include "CommandFile.h"
#include "HostprogPrinting.h"
#include "LineReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

std::string as(std::size_t count, char c)
{
    return std::string(count, c);
}

struct ReadCase
{
    std::string bytes;
    Lines lines; // the executing readers' lines, cut at the limit
    Lines texts; // the capture editor's entries
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << visible(c.bytes);
}

std::string show(const Lines& lines)
{
    std::string out = "{";
    for (const std::string& line : lines)
        out += visible(line) + " ";
    return out + "}";
}

class LineReaderTable : public testing::TestWithParam<ReadCase>
{
};

TEST_P(LineReaderTable, SplitsAfterEachLf)
{
    std::istringstream in(GetParam().bytes);
    const Lines lines = CommandFile::linesOf(in);
    EXPECT_EQ(lines, GetParam().lines) << show(lines);
}

TEST_P(LineReaderTable, EditorEntriesAreTheLinesWithoutTheirLineEnd)
{
    std::istringstream in(GetParam().bytes);
    const Lines texts = CommandFile::textsOf(in);
    EXPECT_EQ(texts, GetParam().texts) << show(texts);
}

TEST_P(LineReaderTable, StopsRightAfterEachLf)
{
    std::istringstream in(GetParam().bytes + "tail");
    LineReader reader(in);
    std::string line;
    for (std::size_t i = 0; i < GetParam().lines.size(); ++i)
        ASSERT_TRUE(reader.next(line));
    if (GetParam().bytes.empty() || GetParam().bytes.back() == '\n') {
        ASSERT_TRUE(reader.next(line));
        EXPECT_EQ(line, "tail");
    }
    EXPECT_FALSE(reader.next(line));
    EXPECT_TRUE(line.empty());
    EXPECT_FALSE(reader.next(line));
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineReaderTable,
    testing::Values(
        ReadCase{"", {}, {}}, ReadCase{"Move, 1, 2, 3\r\n", {"Move, 1, 2, 3\r\n"}, {"Move, 1, 2, 3"}},
        ReadCase{"High, 1000\r\nPause \r\n", {"High, 1000\r\n", "Pause \r\n"}, {"High, 1000", "Pause "}},
        // A last line without an LF is a line.
        ReadCase{"Pause\r\nMove, 1", {"Pause\r\n", "Move, 1"}, {"Pause", "Move, 1"}},
        ReadCase{"Move, 1\r", {"Move, 1\r"}, {"Move, 1"}},
        // Bare LFs end lines too; a bare LF alone is an empty entry.
        ReadCase{"Low, 5\nPause\n", {"Low, 5\n", "Pause\n"}, {"Low, 5", "Pause"}},
        ReadCase{"\n", {"\n"}, {""}}, ReadCase{"\r\n\r\n", {"\r\n", "\r\n"}, {"", ""}},
        ReadCase{"\n\nPause\r\n", {"\n", "\n", "Pause\r\n"}, {"", "", "Pause"}}, ReadCase{"\r", {"\r"}, {""}},
        // A CR elsewhere is an ordinary character.
        ReadCase{"a\rb\r\n", {"a\rb\r\n"}, {"a\rb"}}, ReadCase{"x\r\r\n", {"x\r\r\n"}, {"x\r"}},
        ReadCase{"\rPause\r\n", {"\rPause\r\n"}, {"\rPause"}},
        // NUL and other binary bytes are characters like any other.
        ReadCase{std::string("a\0b\r\n\0", 6), {std::string("a\0b\r\n", 5), std::string("\0", 1)},
                 {std::string("a\0b", 3), std::string("\0", 1)}},
        ReadCase{"\xFF\xFE\x80\n\x01", {"\xFF\xFE\x80\n", "\x01"}, {"\xFF\xFE\x80", "\x01"}}));

// The executing readers keep 118 characters of a line and its line end; the
// rest of the line is skipped, never made a line of its own. The editor keeps
// lines whole.
INSTANTIATE_TEST_SUITE_P(
    LongLines, LineReaderTable,
    testing::Values(ReadCase{as(118, 'a') + "\r\n", {as(118, 'a') + "\r\n"}, {as(118, 'a')}},
                    ReadCase{as(119, 'a') + "\r\n", {as(118, 'a') + "\r\n"}, {as(119, 'a')}},
                    ReadCase{as(300, 'a') + "\r\nPause\r\n", {as(118, 'a') + "\r\n", "Pause\r\n"}, {as(300, 'a'), "Pause"}},
                    ReadCase{as(200, 'a') + "\n", {as(118, 'a') + "\n"}, {as(200, 'a')}},
                    ReadCase{as(119, 'a'), {as(118, 'a')}, {as(119, 'a')}},
                    ReadCase{as(200, 'a') + "\r", {as(118, 'a') + "\r"}, {as(200, 'a')}},
                    ReadCase{as(118, 'a') + "\rb\r\n", {as(118, 'a') + "\r\n"}, {as(118, 'a') + "\rb"}},
                    ReadCase{as(118, 'a') + "\r1000\n", {as(118, 'a') + "\n"}, {as(118, 'a') + "\r1000"}},
                    ReadCase{as(117, 'a') + "\r\r\n", {as(117, 'a') + "\r\r\n"}, {as(117, 'a') + "\r"}},
                    ReadCase{as(100000, ' ') + "\r\n\n", {as(118, ' ') + "\r\n", "\n"}, {as(100000, ' '), ""}}));

// A UTF-8 byte-order mark at the very start of the input is no part of the
// first line; anywhere else, or cut short, its bytes are ordinary characters.
const std::string kMark = "\xEF\xBB\xBF";
INSTANTIATE_TEST_SUITE_P(
    ByteOrderMark, LineReaderTable,
    testing::Values(ReadCase{kMark + "Move, 1\r\nPause\r\n", {"Move, 1\r\n", "Pause\r\n"}, {"Move, 1", "Pause"}},
                    ReadCase{kMark + "\r\n", {"\r\n"}, {""}},
                    ReadCase{kMark + as(118, 'a') + "\r\n", {as(118, 'a') + "\r\n"}, {as(118, 'a')}},
                    ReadCase{kMark + kMark + "x\n", {kMark + "x\n"}, {kMark + "x"}},
                    ReadCase{"Pause\n" + kMark + "x\n", {"Pause\n", kMark + "x\n"}, {"Pause", kMark + "x"}},
                    ReadCase{"\xEF\xBBMove\n", {"\xEF\xBBMove\n"}, {"\xEF\xBBMove"}},
                    ReadCase{"\xEF\n", {"\xEF\n"}, {"\xEF"}}, ReadCase{"\xEF\xBB", {"\xEF\xBB"}, {"\xEF\xBB"}}));

TEST(LineReader, TakesItsLimitFromTheCaller)
{
    std::istringstream in("abcdef\r\nabc\nab");
    LineReader reader(in, 3);
    std::string line;
    Lines lines;
    while (reader.next(line))
        lines.push_back(line);
    EXPECT_EQ(lines, (Lines{"abc\r\n", "abc\n", "ab"}));
}

TEST(LineReader, LimitCutsAGivenLineLikeTheReader)
{
    EXPECT_EQ(LineReader::limit(as(150, 'x') + "\r\nnext\r\n"), as(118, 'x') + "\r\n");
    EXPECT_EQ(LineReader::limit("Move, 1\r\nnext"), "Move, 1\r\n");
    EXPECT_EQ(LineReader::limit("abcdef", 2), "ab");
    EXPECT_EQ(LineReader::limit(""), "");
}

} // namespace

namespace {
// A stream buffer that hands out its text, then fails the next read the way
// a file buffer reports an EIO from read(2).
class FailingBuffer : public std::stringbuf
{
public:
    using std::stringbuf::stringbuf;

protected:
    int_type underflow() override
    {
        const int_type c = std::stringbuf::underflow();
        if (traits_type::eq_int_type(c, traits_type::eof()))
            throw std::ios_base::failure("read error");
        return c;
    }
};
} // namespace

TEST(LineReader, AReadErrorEndsReadingAndIsReported)
{
    FailingBuffer buffer("Move, 1, 2, 3\r\nMove, 4");
    std::istream in(&buffer);
    LineReader reader(in);
    std::string line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "Move, 1, 2, 3\r\n");
    EXPECT_FALSE(reader.next(line)); // the half-read line is dropped
    EXPECT_TRUE(line.empty());
    EXPECT_TRUE(reader.failed());
    EXPECT_TRUE(in.bad());
    EXPECT_FALSE(reader.next(line));
}
