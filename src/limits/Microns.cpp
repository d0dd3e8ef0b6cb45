#include "Microns.h"

#include <limits>
#include <string>

namespace {
// Beyond any 32-bit microstep count, and still far from overflowing 64 bits.
constexpr std::int64_t farOutside = std::int64_t(1) << 60;
// Hundredths of a micrometre above this are far outside the controller's range.
constexpr std::int64_t hundredthsCap = std::int64_t(1) << 50;
// An exponent beyond this many places says nothing more: the number is zero
// or far beyond the controller's range either way.
constexpr std::int64_t exponentCap = 1000;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

std::optional<std::int64_t> Microns::parse(std::string_view text, Exponent allowed)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // The digits without the point, and how many stand before it.
    std::string digits;
    while (i < text.size() && isDigit(text[i]))
        digits += text[i++];
    const std::int64_t whole = static_cast<std::int64_t>(digits.size());
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            digits += text[i++];
    }
    if (digits.empty())
        return std::nullopt;
    std::int64_t exponent = 0;
    if (allowed == Exponent::Allowed && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool down = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            down = text[i++] == '-';
        const std::size_t first = i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            if (exponent <= exponentCap)
                exponent = exponent * 10 + (text[i] - '0');
        if (i == first)
            return std::nullopt;
        exponent = std::min(exponent, exponentCap) * (down ? -1 : 1);
    }
    if (i != text.size())
        return std::nullopt;

    // The magnitude in hundredths of a micrometre, cut (not rounded) after
    // the second decimal: the digits before place point + 2 (none when the
    // point stands that far before the first digit; zeros past the last).
    // Microsteps are hundredths / 4, and a remainder of 2 or more (half a
    // microstep, or more) rounds up whatever digits follow, so the cut
    // loses nothing.
    const std::int64_t point = whole + exponent;
    std::int64_t hundredths = 0;
    for (std::int64_t k = 0; k < point + 2; ++k) {
        const bool past = k >= static_cast<std::int64_t>(digits.size());
        hundredths = hundredths * 10 + (past ? 0 : digits[static_cast<std::size_t>(k)] - '0');
        if (hundredths > hundredthsCap)
            return negative ? -farOutside : farOutside;
        if (past && hundredths == 0)
            break; // zeros only from here on
    }
    const std::int64_t steps = hundredths / 4 + (hundredths % 4 >= 2 ? 1 : 0);
    return negative ? -steps : steps;
}

bool Microns::fitsController(std::int64_t microsteps)
{
    return microsteps >= std::numeric_limits<std::int32_t>::min()
        && microsteps <= std::numeric_limits<std::int32_t>::max();
}
