#include "TravelLimitsText.h"

#include <sstream>

namespace {
bool readLimit(const std::string& word, std::optional<std::int64_t>* limit)
{
    if (word.size() == 3 && (word[0] | 0x20) == 'o' && (word[1] | 0x20) == 'f' && (word[2] | 0x20) == 'f') {
        limit->reset();
        return true;
    }
    *limit = TravelLimits::parseMicrons(word);
    return limit->has_value();
}

} // namespace

std::optional<TravelLimits> TravelLimitsText::parse(const std::string& content, std::string* error)
{
    TravelLimits limits;
    bool named[TravelLimits::axes] = {};
    std::istringstream lines(content);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& what) -> std::optional<TravelLimits> {
        if (error)
            *error = "line " + std::to_string(number) + ": " + what;
        return std::nullopt;
    };
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream words(line);
        std::string axisWord, lowerWord, upperWord, extra;
        if (!(words >> axisWord) || axisWord[0] == '#')
            continue;
        const int axis = TravelLimits::axisOf(axisWord);
        if (axis < 0)
            return fail("\"" + axisWord + "\" is not an axis (X, Y or Z)");
        if (named[axis])
            return fail(std::string(1, TravelLimits::axisLetter(axis)) + " is named twice");
        named[axis] = true;
        TravelLimits::Range range;
        if (!(words >> lowerWord >> upperWord) || (words >> extra))
            return fail("an axis, a lower and an upper limit are expected");
        if (!readLimit(lowerWord, &range.lower) || !readLimit(upperWord, &range.upper))
            return fail("a limit is a number of micrometres or \"off\"");
        if (!limits.setRange(axis, range))
            return fail("the lower limit lies above the upper one");
    }
    return limits;
}

std::string TravelLimitsText::limitText(const std::optional<std::int64_t>& microsteps)
{
    return microsteps ? TravelLimits::micronsText(*microsteps) : std::string("off");
}

std::string TravelLimitsText::format(const TravelLimits& limits)
{
    std::string text = "# Qx410 travel limits in micrometres: axis, lower limit, upper limit (\"off\": none)\n";
    for (int axis = 0; axis < TravelLimits::axes; ++axis) {
        const TravelLimits::Range& r = limits.range(axis);
        text += std::string(1, TravelLimits::axisLetter(axis)) + ' ' + limitText(r.lower) + ' ' + limitText(r.upper)
            + '\n';
    }
    return text;
}
