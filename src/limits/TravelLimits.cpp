#include "TravelLimits.h"

#include <limits>

namespace {
// Far beyond the 32-bit count, and far from overflowing while digits are read.
constexpr std::int64_t maxMicrons = 1000000000;
}

bool TravelLimits::setRange(int axis, const Range& range)
{
    if (range.lower && range.upper && *range.lower > *range.upper)
        return false;
    m_ranges.at(static_cast<std::size_t>(axis)) = range;
    return true;
}

bool TravelLimits::any() const
{
    for (const Range& r : m_ranges)
        if (r.lower || r.upper)
            return true;
    return false;
}

std::optional<TravelLimits::Breach> TravelLimits::breach(std::int64_t x, std::int64_t y, std::int64_t z) const
{
    const std::array<std::int64_t, axes> target { x, y, z };
    for (int axis = 0; axis < axes; ++axis) {
        const Range& r = range(axis);
        const std::int64_t t = target[static_cast<std::size_t>(axis)];
        if (r.lower && t < *r.lower)
            return Breach { axis, true, t, *r.lower };
        if (r.upper && t > *r.upper)
            return Breach { axis, false, t, *r.upper };
    }
    return std::nullopt;
}

std::string TravelLimits::limitName(int axis, bool lower)
{
    if (axis == 2 && lower)
        return "Z floor";
    return std::string(1, axisLetter(axis)) + (lower ? " lower limit" : " upper limit");
}

std::string TravelLimits::refusalText(const Breach& b)
{
    return std::string(1, axisLetter(b.axis)) + " = " + micronsText(b.target) + " µm lies "
        + (b.below ? "below" : "above") + " the " + limitName(b.axis, b.below) + " of " + micronsText(b.limit)
        + " µm. Nothing was sent.";
}

std::string TravelLimits::orderRefusalText(int axis, std::int64_t lower, std::int64_t upper)
{
    return "The " + limitName(axis, true) + " of " + micronsText(lower) + " µm lies above the "
        + limitName(axis, false) + " of " + micronsText(upper) + " µm.";
}

std::string TravelLimits::lineReason(const Breach& b)
{
    return "moves to " + std::string(1, axisLetter(b.axis)) + " = " + micronsText(b.target) + " µm, "
        + (b.below ? "below" : "above") + " the " + limitName(b.axis, b.below) + " of " + micronsText(b.limit)
        + " µm";
}

std::string TravelLimits::micronsText(std::int64_t microsteps)
{
    const std::int64_t magnitude = microsteps < 0 ? -microsteps : microsteps;
    std::string text = (microsteps < 0 ? "-" : "") + std::to_string(magnitude / microstepsPerMicron);
    const std::int64_t hundredths = (magnitude % microstepsPerMicron) * 4; // 0.04 µm each
    if (hundredths != 0) {
        text += '.';
        text += static_cast<char>('0' + hundredths / 10);
        if (hundredths % 10 != 0)
            text += static_cast<char>('0' + hundredths % 10);
    }
    return text;
}

std::optional<std::int64_t> TravelLimits::parseMicrons(std::string_view text)
{
    // An optional sign, digits and at most one decimal point; nothing else
    // (no exponent, no blanks inside, no "inf"). Worked out in decimal, so
    // that 0.02 µm rounds up to one step exactly as written.
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t whole = 0;
    std::int64_t fraction = 0; // the first nine decimals
    std::int64_t scale = 1;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9')
            return std::nullopt;
        digits = true;
        if (!point) {
            whole = whole * 10 + (c - '0');
            if (whole > maxMicrons)
                return std::nullopt;
        } else if (scale < 1000000000) {
            fraction = fraction * 10 + (c - '0');
            scale *= 10;
        }
    }
    if (!digits || (whole == maxMicrons && fraction != 0))
        return std::nullopt;
    // Half a step or more of the fraction counts as a whole step.
    const std::int64_t steps = whole * microstepsPerMicron + (2 * fraction * microstepsPerMicron + scale) / (2 * scale);
    const std::int64_t signedSteps = negative ? -steps : steps;
    // The controller counts positions in 32 bits: a limit beyond them could
    // never be reached.
    if (signedSteps < std::numeric_limits<std::int32_t>::min() || signedSteps > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return signedSteps;
}
