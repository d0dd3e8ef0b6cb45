#include "WholeFileReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

std::FILE* openForReading(const std::filesystem::path& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

WholeFileReader::Result unreadable(std::string reason)
{
    WholeFileReader::Result result;
    result.status = WholeFileReader::Result::Status::Unreadable;
    result.reason = std::move(reason);
    return result;
}

} // namespace

WholeFileReader::Result WholeFileReader::load(const std::string& path, std::size_t maxBytes)
{
    const std::filesystem::path file = std::filesystem::u8path(path);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return {};
    if (error)
        return unreadable(error.message());
    if (status.type() != std::filesystem::file_type::regular)
        return unreadable("not a regular file");

    std::FILE* f = openForReading(file);
    if (!f)
        return unreadable(std::strerror(errno));
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
    if (failed)
        return unreadable("a read failed");
    if (count > maxBytes)
        return unreadable("larger than " + std::to_string(maxBytes) + " bytes");
    content.resize(count);
    Result result;
    result.status = Result::Status::Read;
    result.content = std::move(content);
    return result;
}

std::optional<std::string> WholeFileReader::read(const std::string& path, std::size_t maxBytes)
{
    Result result = load(path, maxBytes);
    if (result.status != Result::Status::Read)
        return std::nullopt;
    return std::move(result.content);
}
