#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Reads one of the program's small text files (the settings file, the port
// bindings file) whole. Standard library only.
class WholeFileReader
{
public:
    // The whole content of the file at path; nothing when it is missing,
    // cannot be read, or holds more than maxBytes bytes (too large to be one
    // of these files). Never creates the file.
    static std::optional<std::string> read(const std::string& path, std::size_t maxBytes);
};
