#include "SettingsFile.h"

#include "AtomicFile.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string_view>

namespace {

// --- Reading -------------------------------------------------------------------------------------

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void skipSpace(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
}

// The next run of non-white-space characters; empty at the end of the text.
std::string_view nextToken(std::string_view text, std::size_t& pos)
{
    skipSpace(text, pos);
    const std::size_t start = pos;
    while (pos < text.size() && !isSpace(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

// Reads an optionally signed decimal integer in [minimum, maximum] starting after white space and
// stopping at the first non-digit. Fails on a missing digit and on a value outside the range.
bool readInteger(std::string_view text, std::size_t& pos, std::int64_t minimum, std::int64_t maximum,
                 std::int64_t& value)
{
    skipSpace(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size() || !isDigit(text[pos]))
        return false;

    // The magnitude may reach |minimum| for negative numbers (so only "-0" fits an unsigned field).
    // Past the limit accumulation stops, so arbitrarily long digit runs cannot overflow.
    const std::uint64_t limit = negative ? std::uint64_t { 0 } - static_cast<std::uint64_t>(minimum)
                                         : static_cast<std::uint64_t>(maximum);
    std::uint64_t magnitude = 0;
    bool tooLarge = false;
    while (pos < text.size() && isDigit(text[pos])) {
        if (!tooLarge) {
            magnitude = magnitude * 10u + static_cast<std::uint64_t>(text[pos] - '0');
            tooLarge = magnitude > limit;
        }
        ++pos;
    }
    if (tooLarge)
        return false;
    if (!negative || magnitude == 0)
        value = static_cast<std::int64_t>(magnitude);
    else
        value = -static_cast<std::int64_t>(magnitude - 1u) - 1; // no overflow at the minimum of the range
    return true;
}

bool readInt32(std::string_view text, std::size_t& pos, std::int32_t& out)
{
    std::int64_t value = 0;
    if (!readInteger(text, pos, INT32_MIN, INT32_MAX, value))
        return false;
    out = static_cast<std::int32_t>(value);
    return true;
}

bool readUint16(std::string_view text, std::size_t& pos, std::uint16_t& out)
{
    std::int64_t value = 0;
    if (!readInteger(text, pos, 0, UINT16_MAX, value))
        return false;
    out = static_cast<std::uint16_t>(value);
    return true;
}

bool readInt(std::string_view text, std::size_t& pos, int& out)
{
    std::int64_t value = 0;
    if (!readInteger(text, pos, INT_MIN, INT_MAX, value))
        return false;
    out = static_cast<int>(value);
    return true;
}

std::size_t skipDigits(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return pos;
}

// Reads a decimal floating-point number: optional sign, digits with an optional fraction (at least
// one digit in all), optional exponent. An exponent marker without digits after it, a value beyond
// float range, and inf or nan fail. The conversion does not depend on the process locale.
bool readFloat(std::string_view text, std::size_t& pos, float& out)
{
    skipSpace(text, pos);
    std::size_t p = pos;
    std::size_t numberStart = p; // from_chars takes a minus sign but not a plus sign
    if (p < text.size() && text[p] == '+')
        numberStart = ++p;
    else if (p < text.size() && text[p] == '-')
        ++p;
    const std::size_t integerEnd = skipDigits(text, p);
    std::size_t end = integerEnd;
    bool anyDigit = integerEnd > p;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = skipDigits(text, end + 1);
        anyDigit = anyDigit || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!anyDigit)
        return false;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        const std::size_t exponentEnd = skipDigits(text, e);
        if (exponentEnd == e)
            return false;
        end = exponentEnd;
    }

    float value = 0.0f;
    const char* first = text.data() + numberStart;
    const char* last = text.data() + end;
    const std::from_chars_result result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return false;
    out = value;
    pos = end;
    return true;
}

bool isValidPortName(std::string_view token)
{
    return token == "COM1" || token == "COM2" || token == "COM3" || token == "COM4";
}

// --- Writing -------------------------------------------------------------------------------------

bool isWritableToken(const std::string& token, std::size_t maxLength)
{
    if (token.empty() || token.size() > maxLength)
        return false;
    for (char c : token) {
        if (isSpace(c))
            return false;
    }
    return true;
}

// Values that would not read back as they were written are refused rather than stored.
bool canBeWritten(const SettingsValues& values)
{
    return isWritableToken(values.portName, SettingsFile::maxPortNameLength)
        && isWritableToken(values.framing, SettingsFile::maxFramingLength) && std::isfinite(values.stepSize);
}

void appendInteger(std::string& out, long long value)
{
    char buffer[24];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

} // namespace

std::optional<SettingsValues> SettingsFile::parse(const std::string& content)
{
    const std::string_view text(content);
    std::size_t pos = 0;
    SettingsValues values;

    const std::string_view port = nextToken(text, pos);
    if (port.size() > maxPortNameLength || !isValidPortName(port))
        return std::nullopt;
    values.portName = std::string(port);

    // Each field is read in turn; the first one that cannot be read ends reading and the remaining
    // fields keep their defaults.
    for (auto& position : values.positions) {
        for (std::int32_t& coordinate : position) {
            if (!readInt32(text, pos, coordinate))
                return values;
        }
    }
    if (!readUint16(text, pos, values.velocity))
        return values;
    if (!readInt(text, pos, values.resolution))
        return values;
    if (!readFloat(text, pos, values.stepSize))
        return values;

    const std::string_view framing = nextToken(text, pos);
    if (framing.size() > maxFramingLength)
        return std::nullopt;
    if (!framing.empty())
        values.framing = std::string(framing);
    return values;
}

std::optional<SettingsValues> SettingsFile::read(const std::string& path)
{
    const std::optional<std::string> content = AtomicFile::read(path, maxReadBytes);
    if (!content)
        return std::nullopt;
    return parse(*content);
}

std::string SettingsFile::format(const SettingsValues& values)
{
    std::string line = values.portName;
    for (const auto& position : values.positions) {
        for (const std::int32_t coordinate : position) {
            line += ' ';
            appendInteger(line, coordinate);
        }
    }
    line += ' ';
    appendInteger(line, values.velocity);
    line += ' ';
    appendInteger(line, values.resolution);

    // Like printf "%g": general format with 6 significant digits, always with a '.' decimal point.
    char buffer[32];
    const std::to_chars_result result
        = std::to_chars(buffer, buffer + sizeof buffer, values.stepSize, std::chars_format::general, 6);
    line += ' ';
    line.append(buffer, result.ptr);

    line += ' ';
    line += values.framing;
    return line;
}

bool SettingsFile::write(const std::string& path, const SettingsValues& values)
{
    if (!canBeWritten(values))
        return false;
    return AtomicFile::replace(path, format(values));
}

std::string SettingsFile::baudTextOf(const std::string& framing)
{
    const std::string baud = framing.substr(0, framing.find(','));
    if (baud == "2400" || baud == "4800" || baud == "9600" || baud == "19200")
        return baud;
    return "9600";
}
