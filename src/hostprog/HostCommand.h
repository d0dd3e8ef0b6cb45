#pragma once

#include <cstdint>
#include <string_view>

// One line of a command file as the executing readers see it.
struct HostCommand
{
    // Status lines and anything unrecognised are Other.
    enum class Kind { Move, High, Low, Pause, Other };

    // Why a Move, speed or Pause line cannot be carried out as written. Every
    // reader that acts on lines (host execution, paths, qx410ctl run and
    // check, download) refuses such a line instead of guessing: a run ends
    // there, nothing of the line is sent, and download loads nothing. Other
    // lines are never refused: they are skipped anyway.
    enum class Refusal {
        None,
        // A CR inside the line with more text after it: the file's lines end
        // in CR alone, so what reads as one line is several.
        BareCr,
        // A line longer than CommandLimits::lineChars whose cut falls within
        // a number it uses, or before one: the rest of the line is never read.
        LineTooLong,
        // A number (sign and digits, leading blanks not counted) longer than
        // CommandLimits::fieldChars: cutting it would give another value.
        NumberTooLong,
        // A Move whose micrometres x 25 do not fit in 32 bits: the
        // multiplication would wrap and send the manipulator the other way.
        BeyondRange,
    };

    Kind kind = Kind::Other;
    // Move: the absolute position in whole micrometres (0 for a missing field).
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    // High and Low: the velocity in um/s as read, without the resolution flag.
    std::int32_t v = 0;
    // Set by ParseHostCommand; the values above are as read.
    Refusal refusal = Refusal::None;

    bool refused() const { return refusal != Refusal::None; }
    // What is wrong with a refused line, worded to follow "Line N ": for
    // example "holds a number longer than 11 characters". Empty for None.
    static std::string_view refusalText(Refusal refusal);

    // The 16-bit velocity word of a speed line: High gives v - 32768 kept to
    // its low 16 bits (v with bit 15 set for 0 <= v <= 32767), Low gives v
    // kept to its low 16 bits. 0 for the other kinds.
    std::uint16_t velocityWord() const;

    // True when microns * 25 fits in the controller's signed 32-bit
    // microstep count. The reader holds an overflowing field at the 32-bit
    // limit, so such a field never fits either.
    static bool micronsFit(std::int32_t microns);
    // Move: whether x, y and z all fit as microsteps. True for the other kinds.
    bool microstepsFit() const;

    // "Move", "High", "Low", "Pause" or "Other".
    static std::string_view name(Kind kind);

    bool operator==(const HostCommand& other) const;
    bool operator!=(const HostCommand& other) const { return !(*this == other); }
};
