#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Whole-file reads and atomic replacement of the program's small text files
// (the settings file and the port bindings file). Standard library only.
class AtomicFile
{
public:
    // The first maxBytes bytes of the file at path; nothing when it is
    // missing or cannot be read. Never creates the file.
    static std::optional<std::string> read(const std::string& path, std::size_t maxBytes);

    // Creates or replaces the file at path as a whole: the content goes to a
    // new file beside it, which is flushed to disk and then renamed over the
    // old one, so the old file stays as it was until the new one is complete.
    // Returns false, leaving the old file untouched and no temporary file
    // behind, when any step fails or when the existing file is read-only (its
    // owner-write bit is clear, which holds even for a privileged user). When
    // path is a symbolic link, the file it points to is replaced and the link
    // is kept. The new file keeps the old one's permissions.
    static bool replace(const std::string& path, const std::string& content);
};
