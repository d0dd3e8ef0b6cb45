#pragma once

#include <cstddef>

// The reading limits of every reader that executes a command file (host
// execution, paths, download). Text beyond a limit is cut off and never read
// into anything.
struct CommandLimits
{
    // Characters of a line before its line end (a 120-byte buffer holds them
    // with the CR LF).
    static constexpr std::size_t lineChars = 118;
    // Characters of the keyword; a line without a comma is its own keyword,
    // line end included.
    static constexpr std::size_t keywordChars = 12;
    // Characters of a field, counting its leading blanks and, for the last
    // field of a line, the line end.
    static constexpr std::size_t fieldChars = 11;
};
