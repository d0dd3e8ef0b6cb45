#pragma once

#include <cstdint>
#include <string_view>

// One line of a command file as the executing readers see it.
struct HostCommand
{
    // Status lines and anything unrecognised are Other.
    enum class Kind { Move, High, Low, Pause, Other };

    Kind kind = Kind::Other;
    // Move: the absolute position in whole micrometres (0 for a missing field).
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    // High and Low: the velocity in um/s as read, without the resolution flag.
    std::int32_t v = 0;

    // The 16-bit velocity word of a speed line: High gives v - 32768 kept to
    // its low 16 bits (v with bit 15 set for 0 <= v <= 32767), Low gives v
    // kept to its low 16 bits. 0 for the other kinds.
    std::uint16_t velocityWord() const;

    // True when microns * 25 fits in the controller's signed 32-bit
    // microstep count. The reader holds an overflowing field at the 32-bit
    // limit, so without this check the multiplication would wrap and send the
    // manipulator the other way.
    static bool micronsFit(std::int32_t microns);
    // Move: whether x, y and z all fit as microsteps. True for the other kinds.
    bool microstepsFit() const;

    // "Move", "High", "Low", "Pause" or "Other".
    static std::string_view name(Kind kind);

    bool operator==(const HostCommand& other) const;
    bool operator!=(const HostCommand& other) const { return !(*this == other); }
};
