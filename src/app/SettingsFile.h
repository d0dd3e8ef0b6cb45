#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The values the program keeps between runs in its settings file.
struct SettingsValues
{
    std::string portName = "COM1";
    // Home, position 1, position 2, position 3 and the previous position; each X, Y, Z in whole micrometres.
    std::array<std::array<std::int32_t, 3>, 5> positions {};
    std::uint16_t velocity = 1000; // micrometres per second
    int resolution = 1019;         // 1019 low, 1021 high; kept as read, the caller interprets it
    float stepSize = 250.0f;
    std::string framing = "9600,N,8,1";
};

// Reads and writes the settings file: one line of 20 tokens separated by single spaces and no line
// terminator, in the order port name, the fifteen position coordinates, velocity, resolution code,
// step size, framing string. With default values the line is
// "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 250 9600,N,8,1".
//
// Reading takes the tokens in that order, separated by any white space (space, tab, CR, LF, VT, FF).
// The file counts only when its port-name token is exactly COM1, COM2, COM3 or COM4 and a framing
// token, when present, is at most 15 characters long. The numbers are read one after the other the
// way stream extraction does it: an optional sign and decimal digits (the step size may also have a
// fraction and an exponent), and reading stops at the first character that does not belong to the
// number, so "12abc" gives 12 and the next number then fails on "abc"; likewise the framing token
// starts right where the step size ends. The first number that cannot be read, or whose value does
// not fit its field, ends reading: that field and every later one, the framing string included, keep
// their defaults. Not fitting means a position outside 32 bits or a resolution outside int; inf and
// nan are not numbers here. Two values are held within range instead, keeping the rest of the file:
// the velocity at 0..maxVelocity (as the dialogs allow; a larger value would set the resolution bit
// of the velocity command) and the step size at minStepSize..maxStepSize (whole 32-bit micrometres,
// what the step-size box shows and hands back). The resolution code is not checked further. A
// missing framing token keeps the default, and tokens after the framing token are ignored. The whole
// file is read; one larger than maxReadBytes is not a settings file.
class SettingsFile
{
public:
    static constexpr const char* fileName = "Qx410.ini";
    static constexpr std::size_t maxReadBytes = 64 * 1024;
    static constexpr std::uint16_t maxVelocity = 32767;
    static constexpr float minStepSize = -2147483648.0f;
    static constexpr float maxStepSize = 2147483520.0f; // the largest float below 2^31
    static constexpr std::size_t maxPortNameLength = 7;
    static constexpr std::size_t maxFramingLength = 15;

    // Reads the file at path. Returns the values when the file is valid (fields it leaves unread
    // take defaults); nothing when the file is missing, cannot be read or is invalid.
    static std::optional<SettingsValues> read(const std::string& path);
    // The same on the file's text.
    static std::optional<SettingsValues> parse(const std::string& content);
    // The 20-token line, without a line terminator. The step size is written like printf "%g"
    // (6 significant digits) regardless of the process locale.
    static std::string format(const SettingsValues& values);
    // Creates or replaces the file at path as a whole, through FileReplacer: normally a new file
    // beside it, flushed to disk and renamed over the old one; in place when the folder takes no new
    // file but the file may be written. Whether the file and the folder may be written is the system's
    // decision. Returns false, leaving the old file untouched and no temporary file behind, when no way
    // of writing works, or when the values would not read back as written: a port name or framing
    // string that is empty, contains white space or is longer than its limit, or a step size that is
    // not a finite number. When path is a symbolic link, the file it points to is replaced and the
    // link is kept. Temporary files left by an earlier write that was killed are removed.
    static bool write(const std::string& path, const SettingsValues& values);

    // The baud rate text of a framing string such as "19200,N,8,1": the text before the first comma
    // when it is 2400, 4800, 9600 or 19200, otherwise "9600".
    static std::string baudTextOf(const std::string& framing);
};
