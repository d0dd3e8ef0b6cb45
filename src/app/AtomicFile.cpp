#include "AtomicFile.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

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

std::optional<std::string> AtomicFile::read(const std::string& path, std::size_t maxBytes)
{
    std::FILE* f = openFile(fs::u8path(path), false);
    if (!f)
        return std::nullopt;
    std::string content(maxBytes, '\0');
    const std::size_t count = std::fread(content.data(), 1, content.size(), f);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    content.resize(count);
    return content;
}

bool AtomicFile::replace(const std::string& path, const std::string& content)
{
    fs::path target = fs::u8path(path);
    std::error_code linkError;
    if (fs::is_symlink(fs::symlink_status(target, linkError))) {
        target = fs::canonical(target, linkError);
        if (linkError)
            return false;
    }

    // The operator can protect a file by making it read-only; this is checked on the permission
    // bits themselves because a privileged user could otherwise replace the file anyway.
    std::error_code statusError; // a missing file is not an error here
    const fs::file_status existing = fs::status(target, statusError);
    const bool exists = fs::exists(existing);
    if (exists && (existing.permissions() & fs::perms::owner_write) == fs::perms::none)
        return false;

    fs::path temporary;
    std::FILE* f = createTemporaryBeside(target, temporary);
    if (!f)
        return false;
    if (!fillTemporary(f, temporary, content))
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
