#pragma once

#include "CommandLimits.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

// Reads a command file's raw bytes line by line: a line is every byte up to
// and including the next LF, its CR still in it. A last line without an LF is
// a line too; nothing is read past the end of the input. A UTF-8 byte-order
// mark (EF BB BF) at the very start of the input, as some editors write, is
// not part of the first line.
//
// A line longer than the limit keeps its first maxChars characters and its
// line end (CR LF, a bare LF, or a CR alone on a last line); the rest up to
// the LF is skipped, so one line of the file stays one line. However long a
// line is, the reader holds at most maxChars + 2 bytes of it.
class LineReader
{
public:
    static constexpr std::size_t noLimit = SIZE_MAX;

    explicit LineReader(std::istream& in, std::size_t maxChars = CommandLimits::lineChars);

    // The next line into line; false, with line empty, when no byte is left
    // or the input could not be read.
    bool next(std::string& line);

    // True once a read of the input failed (an I/O error such as EIO from a
    // pulled USB stick), as opposed to reaching its end. The line being read
    // when it failed is dropped; callers treat the file like one that could
    // not be opened.
    bool failed() const { return m_failed; }

    // The line up to and including its first LF (all of it without an LF),
    // cut to maxChars characters before its line end as described above.
    static std::string limit(std::string_view line, std::size_t maxChars = CommandLimits::lineChars);

    // The line without its line end: the LF and a CR right before it, or a
    // CR alone at the very end. "Move, 1\r\n" and "Move, 1\n" both give
    // "Move, 1"; a bare LF gives "".
    static std::string_view text(std::string_view line);

    // True when the line holds a CR with more of the line after it than
    // further CRs and its line end: the file's lines end in CR alone, and
    // what reads as one line is several. "Move, 1\rMove, 2\r" is such a
    // line; "Move, 1\r\n" and "Move, 1\r\r\n" are not.
    static bool holdsBareCr(std::string_view line);

    // The UTF-8 byte-order mark skipped at the start of the input.
    static constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

private:
    std::istream& m_in;
    std::size_t m_maxChars;
    bool m_failed = false;
    // Bytes of the input read so far, while fewer than the byte-order mark.
    std::size_t m_startBytes = 0;
};
