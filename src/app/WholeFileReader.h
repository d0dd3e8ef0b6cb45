#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Reads one of the program's small text files (the settings file, the port
// bindings file) whole. Standard library only.
class WholeFileReader
{
public:
    struct Result
    {
        enum class Status {
            Read,       // content holds the whole file
            Missing,    // nothing at the path
            Unreadable, // something is there but cannot be one of these files
        };
        Status status = Status::Missing;
        std::string content;
        // Unreadable: why, for a message ("not a regular file", "larger than
        // 65536 bytes", "Permission denied", ...).
        std::string reason;
    };

    // Only a regular file (or a link to one) is read: a directory, a device
    // or a FIFO is Unreadable without being opened, so nothing can block or
    // run on for ever. A file of more than maxBytes bytes is Unreadable too
    // (too large to be one of these files). Never creates the file.
    static Result load(const std::string& path, std::size_t maxBytes);

    // load's content; nothing when the file is missing or unreadable.
    static std::optional<std::string> read(const std::string& path, std::size_t maxBytes);
};
