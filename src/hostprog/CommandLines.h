#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The exact text of each line kind as the two writers produce it, without the
// CR LF that CommandFile adds. Numbers are plain decimal: a minus sign for
// negative values, no plus sign, no leading zeros.
class CommandLines
{
public:
    // The capture editor writes one blank after a speed keyword's comma and
    // after "Pause"; upload from the controller writes two.
    enum class Writer { Editor, Upload };

    static constexpr std::size_t statusCount = 19;

    // "Move, X, Y, Z" in whole micrometres (both writers).
    static std::string move(std::int32_t x, std::int32_t y, std::int32_t z);
    // "High, V" (editor) or "High,  V" (upload); V in um/s without the
    // resolution flag.
    static std::string high(Writer writer, std::int32_t velocity);
    // "Low, V" (editor) or "Low,  V" (upload).
    static std::string low(Writer writer, std::int32_t velocity);
    // "Pause " (editor) or "Pause  " (upload).
    static std::string pause(Writer writer);
    // "Status, " then the 19 numbers of the controller's status block joined
    // by "," with no blanks (editor only). Written whole even past the 118
    // characters an executing reader looks at: nothing executes a Status line
    // and the editor reads its lines back whole.
    static std::string status(const std::array<int, statusCount>& numbers);
};
