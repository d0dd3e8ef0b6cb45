#include "CommandFile.h"

#include "LineReader.h"

#include <fstream>
#include <system_error>

bool CommandFile::openForReading(const std::filesystem::path& path, std::ifstream& in)
{
    // Only a regular file (or a link to one) is a command file: a directory
    // holds no lines, a device such as /dev/zero never ends, and opening a
    // FIFO waits for a writer that may never come.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    in.open(path, std::ios::in | std::ios::binary);
    return in.is_open();
}

bool CommandFile::readLines(const std::filesystem::path& path, std::vector<std::string>& lines)
{
    lines.clear();
    std::ifstream in;
    if (!openForReading(path, in))
        return false;
    lines = linesOf(in);
    if (in.bad()) { // a read error: nothing half-loaded
        lines.clear();
        return false;
    }
    return true;
}

std::vector<std::string> CommandFile::linesOf(std::istream& in)
{
    std::vector<std::string> lines;
    LineReader reader(in);
    std::string line;
    while (reader.next(line))
        lines.push_back(line);
    return lines;
}

bool CommandFile::readTexts(const std::filesystem::path& path, std::vector<std::string>& texts)
{
    texts.clear();
    std::ifstream in;
    if (!openForReading(path, in))
        return false;
    texts = textsOf(in);
    if (in.bad()) { // a read error: nothing half-loaded
        texts.clear();
        return false;
    }
    return true;
}

std::vector<std::string> CommandFile::textsOf(std::istream& in, std::size_t maxChars)
{
    std::vector<std::string> texts;
    LineReader reader(in, maxChars);
    std::string line;
    while (reader.next(line))
        texts.emplace_back(LineReader::text(line));
    return texts;
}

bool CommandFile::write(const std::filesystem::path& path, const std::vector<std::string>& lines)
{
    std::ofstream out(path, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!out.is_open())
        return false;
    const bool written = writeTo(out, lines);
    out.close();
    return written && !out.fail();
}

bool CommandFile::writeTo(std::ostream& out, const std::vector<std::string>& lines)
{
    // The readers skip one byte-order mark at the start of a file; a first
    // line that begins with one gets a mark of its own before it, so that it
    // reads back as it was.
    const std::string_view mark = LineReader::byteOrderMark;
    if (!lines.empty() && lines.front().compare(0, mark.size(), mark) == 0)
        out.write(mark.data(), static_cast<std::streamsize>(mark.size()));
    for (const std::string& line : lines) {
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        out.write("\r\n", 2);
    }
    out.flush();
    return !out.fail();
}
