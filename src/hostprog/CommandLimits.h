#pragma once

#include <cstddef>

// The reading limits of every reader that executes a command file (host
// execution, paths, download). Text beyond the line and keyword limits is cut
// off and never read into anything; a number beyond the field limit refuses
// its line (see ParseHostCommand), so no target is silently cut.
struct CommandLimits
{
    // Characters of a line before its line end (a 120-byte buffer holds them
    // with the CR LF).
    static constexpr std::size_t lineChars = 118;
    // Characters of the keyword; a line without a comma is its own keyword,
    // line end included.
    static constexpr std::size_t keywordChars = 12;
    // Characters of a field's number: its sign and digits. The blanks before
    // it do not count, so aligned columns read whole.
    static constexpr std::size_t fieldChars = 11;
};
