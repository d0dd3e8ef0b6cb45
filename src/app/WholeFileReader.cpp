#include "WholeFileReader.h"

#include <cstdio>
#include <filesystem>

namespace {

std::FILE* openForReading(const std::filesystem::path& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

} // namespace

std::optional<std::string> WholeFileReader::read(const std::string& path, std::size_t maxBytes)
{
    std::FILE* f = openForReading(std::filesystem::u8path(path));
    if (!f)
        return std::nullopt;
    // One byte more than the limit tells a file that is too large.
    std::string content(maxBytes + 1, '\0');
    std::size_t count = 0;
    while (count < content.size()) {
        const std::size_t n = std::fread(content.data() + count, 1, content.size() - count, f);
        count += n;
        if (n == 0)
            break;
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed || count > maxBytes)
        return std::nullopt;
    content.resize(count);
    return content;
}
