#include "LineReader.h"

#include <streambuf>

LineReader::LineReader(std::istream& in, std::size_t maxChars)
    : m_in(in)
    , m_maxChars(maxChars)
{
}

bool LineReader::next(std::string& line)
{
    line.clear();
    std::streambuf* buffer = m_in.rdbuf();
    if (buffer == nullptr || m_failed)
        return false;

    using Traits = std::streambuf::traits_type;
    bool anyByte = false;
    bool endsWithLf = false;
    bool cut = false;
    char last = '\0';
    for (;;) {
        Traits::int_type c = Traits::eof();
        try {
            // A file buffer reports a failed read(2) by throwing.
            c = buffer->sbumpc();
        } catch (...) {
            m_failed = true;
            m_in.setstate(std::ios::badbit);
            line.clear();
            return false;
        }
        if (Traits::eq_int_type(c, Traits::eof()))
            break;
        anyByte = true;
        const char byte = Traits::to_char_type(c);
        if (byte == '\n') {
            endsWithLf = true;
            break;
        }
        last = byte;
        if (line.size() < m_maxChars)
            line.push_back(byte);
        else
            cut = true;
    }
    if (!anyByte) {
        m_in.setstate(std::ios::eofbit);
        return false;
    }
    if (cut && last == '\r')
        line.push_back('\r'); // the CR of the line end, skipped with the rest
    if (endsWithLf)
        line.push_back('\n');
    return true;
}

std::string LineReader::limit(std::string_view line, std::size_t maxChars)
{
    const std::size_t lf = line.find('\n');
    if (lf != std::string_view::npos)
        line = line.substr(0, lf + 1);
    std::string_view body = line;
    if (!body.empty() && body.back() == '\n')
        body.remove_suffix(1);
    if (!body.empty() && body.back() == '\r')
        body.remove_suffix(1);
    if (body.size() <= maxChars)
        return std::string(line);
    std::string cutLine(body.substr(0, maxChars));
    cutLine.append(line.substr(body.size()));
    return cutLine;
}

std::string_view LineReader::text(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}
