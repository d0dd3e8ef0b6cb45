#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Soft travel limits: per axis an optional lower and upper limit that no
// target may pass, whoever asks for the move. Held in microsteps (0.04 µm),
// so a target is compared exactly at the controller's own step. No limit is
// set by default, and then every target is allowed. A target inside the
// limits is always allowed, wherever the manipulator stands, so that it can
// always be brought back.
//
// Standard library only; the texts are UTF-8.
class TravelLimits
{
public:
    static constexpr int axes = 3;
    static constexpr std::int64_t microstepsPerMicron = 25;

    struct Range
    {
        std::optional<std::int64_t> lower; // microsteps
        std::optional<std::int64_t> upper;
        friend bool operator==(const Range& a, const Range& b) { return a.lower == b.lower && a.upper == b.upper; }
    };

    // Where a target leaves the limits: the first axis that does.
    struct Breach
    {
        int axis = 0;
        bool below = false; // below the lower limit; else above the upper one
        std::int64_t target = 0; // microsteps
        std::int64_t limit = 0;
    };

    const Range& range(int axis) const { return m_ranges.at(static_cast<std::size_t>(axis)); }
    // False, nothing changed, when the lower limit lies above the upper one.
    bool setRange(int axis, const Range& range);
    // True when any limit is set.
    bool any() const;

    // Nothing when the target (microsteps) lies within every limit.
    std::optional<Breach> breach(std::int64_t x, std::int64_t y, std::int64_t z) const;

    // "Z = -6000 µm lies below the Z floor of -5000 µm. Nothing was sent."
    static std::string refusalText(const Breach& breach);
    // The same as the reason a command-file line is refused for:
    // "moves to Z = -6000 µm, below the Z floor of -5000 µm".
    static std::string lineReason(const Breach& breach);
    // A lower limit above the upper one (setRange refuses it):
    // "The Z floor of 100 µm lies above the Z upper limit of -100 µm."
    static std::string orderRefusalText(int axis, std::int64_t lower, std::int64_t upper);
    // "X lower limit", "Y upper limit", "Z floor", "Z upper limit".
    static std::string limitName(int axis, bool lower);
    static char axisLetter(int axis) { return "XYZ"[axis]; }
    // 0, 1 or 2 for "X", "Y" or "Z" in either case; -1 for anything else.
    static int axisOf(std::string_view word);

    // Micrometres for a text: whole when whole, else with the fraction the
    // 0.04 µm step needs, trailing zeros dropped ("-5000", "12.5", "0.04").
    static std::string micronsText(std::int64_t microsteps);
    // A limit in micrometres ("-5000", "12.5", "+0.04", as Microns::parse
    // reads them) in microsteps. Nothing for anything else or for a value
    // beyond the controller's 32-bit count (-85899345.92 to 85899345.88 µm).
    static std::optional<std::int64_t> parseMicrons(std::string_view text);

    friend bool operator==(const TravelLimits& a, const TravelLimits& b) { return a.m_ranges == b.m_ranges; }
    friend bool operator!=(const TravelLimits& a, const TravelLimits& b) { return !(a == b); }

private:
    std::array<Range, axes> m_ranges {};
};
