#include "PortBindingsFile.h"

#include "FileReplacer.h"
#include "WholeFileReader.h"

#include <string_view>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (isBlank(s.front()) || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// 1..4 for exactly "COM1".."COM4", else 0.
int portNumber(std::string_view name)
{
    if (name.size() == 4 && name.substr(0, 3) == "COM" && name[3] >= '1' && name[3] <= '4')
        return name[3] - '0';
    return 0;
}

} // namespace

PortBindingsFile::Contents PortBindingsFile::parse(const std::string& text)
{
    Contents contents;
    std::string_view rest(text);
    int lineNumber = 0;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = trimmed(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;

        std::size_t split = 0;
        while (split < line.size() && !isBlank(line[split]))
            ++split;
        const int n = portNumber(line.substr(0, split));
        const std::string_view device = trimmed(line.substr(split));
        if (n == 0 || device.empty() || !contents.devices[n - 1].empty()) {
            contents.badLines.push_back(lineNumber);
            continue;
        }
        contents.devices[n - 1] = std::string(device);
    }
    return contents;
}

std::optional<PortBindingsFile::Contents> PortBindingsFile::read(const std::string& path, std::string* unreadable)
{
    const WholeFileReader::Result file = WholeFileReader::load(path, maxReadBytes);
    if (file.status == WholeFileReader::Result::Status::Unreadable && unreadable)
        *unreadable = file.reason;
    if (file.status != WholeFileReader::Result::Status::Read)
        return std::nullopt;
    return parse(file.content);
}

std::string PortBindingsFile::format(const Devices& devices)
{
    std::string text;
    for (int n = 1; n <= portCount; ++n) {
        const std::string_view device = trimmed(devices[n - 1]);
        if (device.empty())
            continue;
        text += "COM";
        text += static_cast<char>('0' + n);
        text += ' ';
        text += device;
        text += '\n';
    }
    return text;
}

bool PortBindingsFile::write(const std::string& path, const Devices& devices)
{
    for (const std::string& device : devices) {
        if (device.find_first_of("\r\n") != std::string::npos)
            return false;
    }
    return FileReplacer::replace(path, format(devices));
}
