#include "TravelLimits.h"

#include "Microns.h"


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

int TravelLimits::axisOf(std::string_view word)
{
    if (word.size() != 1)
        return -1;
    switch (word[0]) {
    case 'X': case 'x': return 0;
    case 'Y': case 'y': return 1;
    case 'Z': case 'z': return 2;
    default: return -1;
    }
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
    // A limit beyond the controller's 32-bit count could never be reached.
    const std::optional<std::int64_t> microsteps = Microns::parse(text);
    if (!microsteps || !Microns::fitsController(*microsteps))
        return std::nullopt;
    return microsteps;
}
