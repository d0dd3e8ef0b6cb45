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
    // While the input's first bytes match the byte-order mark they are held
    // here rather than in the line: a whole mark is dropped, a partial one
    // goes into the line as ordinary bytes.
    std::string mark;
    const auto keep = [&](char byte) {
        last = byte;
        if (line.size() < m_maxChars)
            line.push_back(byte);
        else
            cut = true;
    };
    const auto releaseMark = [&] {
        for (const char byte : mark)
            keep(byte);
        mark.clear();
    };
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
        const char byte = Traits::to_char_type(c);
        if (m_startBytes < byteOrderMark.size()) {
            if (byte == byteOrderMark[m_startBytes]) {
                mark.push_back(byte);
                if (++m_startBytes == byteOrderMark.size())
                    mark.clear(); // the whole mark: not part of the line
                continue;
            }
            m_startBytes = byteOrderMark.size(); // no mark: nothing more to look for
            releaseMark();
        }
        anyByte = true;
        if (byte == '\n') {
            endsWithLf = true;
            break;
        }
        keep(byte);
    }
    if (!mark.empty()) { // the input ended inside what began like a mark
        m_startBytes = byteOrderMark.size();
        anyByte = true;
        releaseMark();
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

bool LineReader::holdsBareCr(std::string_view line)
{
    const std::string_view body = text(line);
    const std::size_t lastChar = body.find_last_not_of('\r');
    return lastChar != std::string_view::npos && body.substr(0, lastChar).find('\r') != std::string_view::npos;
}

std::string_view LineReader::text(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}
