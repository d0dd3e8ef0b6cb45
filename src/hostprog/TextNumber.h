#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The one rule for reading a number typed or stored as text (panel fields,
// step size, command-file fields): skip leading white space, take an optional
// sign and the decimal digits up to the first other character; no digits
// gives 0. Only the first maxChars characters are looked at. A value beyond
// 32 bits is held at the nearest 32-bit limit.
class TextNumber
{
public:
    static std::int32_t parse(std::string_view text, std::size_t maxChars = SIZE_MAX);
    // The characters of the number that parse reads from text: its sign and
    // digits, the white space before them not counted. "  -0127x" gives 5.
    static std::size_t numberChars(std::string_view text);
};
