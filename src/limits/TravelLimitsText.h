#pragma once

#include "TravelLimits.h"

#include <optional>
#include <string>

// The travel limits file, "Qx410.limits" beside the settings file: a comment
// line, then one line per axis with the axis letter, the lower and the upper
// limit in micrometres, "off" where there is none:
//
//   # Qx410 travel limits in micrometres: axis, lower limit, upper limit ("off": none)
//   X off off
//   Y off off
//   Z -5000 off
//
// Reading skips blank lines and lines that begin with '#', takes the axis
// letters and "off" in either case and the lines in any order; an axis not named has no
// limits. Anything else (an unknown word, a number that is not one, a lower
// limit above the upper one, an axis named twice) makes the whole file
// unreadable: a limit half read is worse than none, and the caller says so.
class TravelLimitsText
{
public:
    static constexpr const char* fileName = "Qx410.limits";
    static constexpr std::size_t maxBytes = 4096;

    // The limits, or nothing with *error set to what is wrong ("line 3: ...").
    static std::optional<TravelLimits> parse(const std::string& content, std::string* error);
    static std::string format(const TravelLimits& limits);
    // "-5000" or "off".
    static std::string limitText(const std::optional<std::int64_t>& microsteps);
};
