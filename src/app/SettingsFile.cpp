#include "SettingsFile.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

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

std::FILE* openFile(const fs::path& path, bool create)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), create ? L"wbx" : L"rb");
#else
    return std::fopen(path.c_str(), create ? "wbx" : "rb");
#endif
}

// Pushes what was written to f out of the process and onto the disk.
bool flushToDisk(std::FILE* f)
{
    if (std::fflush(f) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

// Makes the rename itself durable. Best effort: the new file is already in place.
void flushFolder([[maybe_unused]] const fs::path& folder)
{
#ifndef _WIN32
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        (void)fsync(fd);
        (void)::close(fd);
    }
#endif
}

std::string randomSuffix()
{
    static std::atomic<std::uint64_t> counter { 0 };
    std::uint64_t seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
        ^ (++counter * 0x9E3779B97F4A7C15ull);
    try {
        seed ^= std::random_device {}();
    } catch (...) {
        // The clock and the counter alone still give a name that is retried on collision.
    }
    std::mt19937_64 generator(seed);
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 2);
    std::string suffix(6, 'X');
    for (char& c : suffix)
        c = alphabet[pick(generator)];
    return suffix;
}

// Creates a new, empty file "<target>.tmp-XXXXXX" beside target, never reusing an existing one.
std::FILE* createTemporaryBeside(const fs::path& target, fs::path& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = target;
        candidate += ".tmp-" + randomSuffix();
        if (std::FILE* f = openFile(candidate, true)) {
            temporary = std::move(candidate);
            return f;
        }
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec)))
            return nullptr; // not a name collision: the folder is missing or not writable
    }
    return nullptr;
}

// Writes content to the temporary file and closes it; any failure removes the temporary file.
bool fillTemporary(std::FILE* f, const fs::path& temporary, const std::string& content)
{
    const bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size() && flushToDisk(f);
    const bool closed = std::fclose(f) == 0;
    if (written && closed)
        return true;
    std::error_code ec;
    fs::remove(temporary, ec);
    return false;
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
    std::FILE* f = openFile(fs::u8path(path), false);
    if (!f)
        return std::nullopt;
    std::string content(maxReadBytes, '\0');
    const std::size_t count = std::fread(content.data(), 1, content.size(), f);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    content.resize(count);
    return parse(content);
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

    fs::path target = fs::u8path(path);
    std::error_code linkError;
    if (fs::is_symlink(fs::symlink_status(target, linkError))) {
        target = fs::canonical(target, linkError);
        if (linkError)
            return false;
    }

    // The operator can protect the settings by making the file read-only; this is checked on the
    // permission bits themselves because a privileged user could otherwise replace the file anyway.
    std::error_code statusError; // a missing file is not an error here
    const fs::file_status existing = fs::status(target, statusError);
    const bool exists = fs::exists(existing);
    if (exists && (existing.permissions() & fs::perms::owner_write) == fs::perms::none)
        return false;

    fs::path temporary;
    std::FILE* f = createTemporaryBeside(target, temporary);
    if (!f)
        return false;
    if (!fillTemporary(f, temporary, format(values)))
        return false;

    // The new file keeps the permissions the operator gave the old one.
    std::error_code ec;
    if (exists && fs::is_regular_file(existing))
        fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, ec);
    if (!ec)
        fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    flushFolder(target.parent_path());
    return true;
}

std::string SettingsFile::baudTextOf(const std::string& framing)
{
    const std::string baud = framing.substr(0, framing.find(','));
    if (baud == "2400" || baud == "4800" || baud == "9600" || baud == "19200")
        return baud;
    return "9600";
}
