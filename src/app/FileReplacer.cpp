#include "FileReplacer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::FILE* openFile(const fs::path& path, const char* mode)
{
#ifdef _WIN32
    const std::string narrow(mode);
    return _wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// Asks the system whether this process may write the file (permissions,
// read-only mounts); a privileged user may write what others may not.
bool mayWrite(const fs::path& path)
{
#ifdef _WIN32
    return _waccess(path.c_str(), 2) == 0;
#else
    return ::access(path.c_str(), W_OK) == 0;
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
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    std::string suffix(FileReplacer::temporarySuffixLength, 'X');
    for (char& c : suffix)
        c = alphabet[pick(generator)];
    return suffix;
}

// Locks an open temporary file for as long as it stays open, so that no other
// write takes it for stale. False when the lock cannot be had or the name no
// longer leads to this file (another write removed it in between).
bool holdTemporary([[maybe_unused]] std::FILE* f, [[maybe_unused]] const fs::path& path)
{
#ifdef _WIN32
    return true; // an open file cannot be removed there
#else
    if (::flock(fileno(f), LOCK_EX | LOCK_NB) != 0)
        return false;
    struct stat opened {};
    struct stat named {};
    return ::fstat(fileno(f), &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
#endif
}

// Creates a new, empty, locked file "<target>.tmp-XXXXXX" beside target, never
// reusing an existing one.
std::FILE* createTemporaryBeside(const fs::path& target, fs::path& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = target;
        candidate += FileReplacer::temporaryInfix + randomSuffix();
        if (std::FILE* f = openFile(candidate, "wbx")) {
            if (holdTemporary(f, candidate)) {
                temporary = std::move(candidate);
                return f;
            }
            std::fclose(f);
            continue;
        }
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec)))
            return nullptr; // not a name collision: the folder is missing or not writable
    }
    return nullptr;
}

// The new content in a temporary file, renamed over target; any failure
// removes the temporary file and leaves target as it was.
bool replaceThroughTemporary(std::FILE* f, const fs::path& temporary, const fs::path& target,
                             const fs::file_status& existing, const std::string& content)
{
    bool done = std::fwrite(content.data(), 1, content.size(), f) == content.size() && flushToDisk(f);
    std::error_code ec;
    // The new file keeps the permissions the operator gave the old one.
    if (done && fs::is_regular_file(existing))
        fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, ec);
#ifdef _WIN32
    done = std::fclose(f) == 0 && done && !ec; // a file cannot be renamed there while open
    f = nullptr;
#endif
    done = done && !ec;
    if (done) {
        // Renamed while still locked, so no other write can take it for stale.
        fs::rename(temporary, target, ec);
        done = !ec;
    }
    if (f && std::fclose(f) != 0)
        done = false;
    if (!done) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return done;
}

// The new content written over the old in the file itself, for a file that
// may be written in a folder that takes no new files.
bool writeInPlace(const fs::path& target, const std::string& content)
{
    std::FILE* f = openFile(target, "r+b");
    if (!f)
        return false;
    bool done = std::fwrite(content.data(), 1, content.size(), f) == content.size() && std::fflush(f) == 0;
#ifdef _WIN32
    done = done && _chsize_s(_fileno(f), static_cast<long long>(content.size())) == 0;
#else
    done = done && ::ftruncate(fileno(f), static_cast<off_t>(content.size())) == 0;
#endif
    done = done && flushToDisk(f);
    return std::fclose(f) == 0 && done;
}

bool isAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Whether no writer holds the temporary file (its lock can be had).
bool isAbandoned([[maybe_unused]] const fs::path& path, [[maybe_unused]] int& heldFd)
{
#ifdef _WIN32
    return true; // removing fails there while a writer has it open
#else
    heldFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (heldFd < 0)
        return false;
    if (::flock(heldFd, LOCK_EX | LOCK_NB) == 0)
        return true;
    ::close(heldFd);
    heldFd = -1;
    return false;
#endif
}

} // namespace

bool FileReplacer::isTemporaryOf(const std::string& entryName, const std::string& targetName)
{
    const std::string prefix = targetName + temporaryInfix;
    if (entryName.size() != prefix.size() + temporarySuffixLength || entryName.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < entryName.size(); ++i) {
        if (!isAlphanumeric(entryName[i]))
            return false;
    }
    return true;
}

void FileReplacer::removeStaleTemporaries(const fs::path& target)
{
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string targetName = target.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& entry = it->path();
        std::error_code statusError;
        if (!isTemporaryOf(entry.filename().string(), targetName)
            || !fs::is_regular_file(fs::symlink_status(entry, statusError)))
            continue;
        int heldFd = -1;
        if (isAbandoned(entry, heldFd)) {
            std::error_code ignored;
            fs::remove(entry, ignored); // removed while locked, so no writer can take it meanwhile
        }
#ifndef _WIN32
        if (heldFd >= 0)
            ::close(heldFd);
#endif
    }
}

bool FileReplacer::replace(const std::string& path, const std::string& content)
{
    fs::path target = fs::u8path(path);
    std::error_code linkError;
    if (fs::is_symlink(fs::symlink_status(target, linkError))) {
        target = fs::canonical(target, linkError);
        if (linkError)
            return false;
    }

    std::error_code statusError; // a missing file is not an error here
    const fs::file_status existing = fs::status(target, statusError);
    const bool exists = fs::exists(existing);
    if (exists && (fs::is_directory(existing) || !mayWrite(target)))
        return false;

    removeStaleTemporaries(target);
    fs::path temporary;
    if (std::FILE* f = createTemporaryBeside(target, temporary)) {
        if (!replaceThroughTemporary(f, temporary, target, existing, content))
            return false;
        flushFolder(target.parent_path());
        return true;
    }
    return exists && writeInPlace(target, content);
}
