#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The fuzz check of the command-file reading: runs any bytes through the line
// reader (cut and whole), the editor's reading, a write and read back, and
// ParseHostCommand, and checks what must hold for every input. Shared by the
// libFuzzer target and the replay test.
class CommandFileFuzz
{
public:
    // "" when every property holds, else what went wrong.
    static std::string check(const std::uint8_t* data, std::size_t size);
};
