#include "SettingsFile.h"

#include "FileReplacer.h"
#include "WholeFileReader.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
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

enum class OutOfRange { Fails, Clamps };

// Reads an optionally signed decimal integer in [minimum, maximum] starting after white space and
// stopping at the first non-digit. Fails on a missing digit; a value outside the range fails too, or
// is held at the nearer end of the range.
bool readInteger(std::string_view text, std::size_t& pos, std::int64_t minimum, std::int64_t maximum,
                 std::int64_t& value, OutOfRange outOfRange = OutOfRange::Fails)
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
    if (tooLarge && outOfRange == OutOfRange::Fails)
        return false;
    if (tooLarge)
        value = negative ? minimum : maximum;
    else if (!negative || magnitude == 0)
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

// A velocity beyond what the dialogs allow would set the resolution bit of the velocity command;
// it is held at the nearer end of 0..32767.
bool readVelocity(std::string_view text, std::size_t& pos, std::uint16_t& out)
{
    std::int64_t value = 0;
    if (!readInteger(text, pos, 0, SettingsFile::maxVelocity, value, OutOfRange::Clamps))
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

// Reads a step size: optional sign, digits with an optional fraction (at least one digit in all),
// optional exponent. An exponent marker without digits after it, and inf or nan, fail. The value is
// held within what the step-size box shows (whole 32-bit micrometres); one too small for a double
// is 0. The conversion does not depend on the process locale.
bool readStepSize(std::string_view text, std::size_t& pos, float& out)
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
    bool negativeExponent = false;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        negativeExponent = e < text.size() && text[e] == '-';
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        const std::size_t exponentEnd = skipDigits(text, e);
        if (exponentEnd == e)
            return false;
        end = exponentEnd;
    }

    double value = 0.0;
    const char* first = text.data() + numberStart;
    const char* last = text.data() + end;
    const std::from_chars_result result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ptr != last)
        return false;
    if (result.ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    else if (result.ec != std::errc())
        return false;
    if (text[pos] == '-')
        value = -std::fabs(value);
    const double limited = std::clamp(value, double { SettingsFile::minStepSize }, double { SettingsFile::maxStepSize });
    out = static_cast<float>(limited);
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
    if (!readVelocity(text, pos, values.velocity))
        return values;
    if (!readInt(text, pos, values.resolution))
        return values;
    if (!readStepSize(text, pos, values.stepSize))
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
    const std::optional<std::string> content = WholeFileReader::read(path, maxReadBytes);
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
    return canBeWritten(values) && FileReplacer::replace(path, format(values));
}

std::string SettingsFile::baudTextOf(const std::string& framing)
{
    const std::string baud = framing.substr(0, framing.find(','));
    if (baud == "2400" || baud == "4800" || baud == "9600" || baud == "19200")
        return baud;
    return "9600";
}
