#pragma once

// Builders for the byte frames a host sends to the controller, and readers for its
// replies, so the tests read as sequences of commands.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kCr = 0x0D;

inline void putU16(Bytes& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void putI32(Bytes& out, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(u >> shift));
}

inline std::int32_t getI32(const Bytes& in, std::size_t at)
{
    const std::uint32_t u = in.at(at) | (in.at(at + 1) << 8) | (in.at(at + 2) << 16)
        | (static_cast<std::uint32_t>(in.at(at + 3)) << 24);
    return static_cast<std::int32_t>(u);
}

inline std::int16_t getI16(const Bytes& in, std::size_t at)
{
    return static_cast<std::int16_t>(in.at(at) | (in.at(at + 1) << 8));
}

// A command without parameters: the byte, then CR.
inline Bytes plain(std::uint8_t command)
{
    return {command, kCr};
}

inline Bytes move(std::int32_t x, std::int32_t y, std::int32_t z)
{
    Bytes b{'m'};
    putI32(b, x);
    putI32(b, y);
    putI32(b, z);
    b.push_back(kCr);
    return b;
}

inline Bytes velocity(std::uint16_t word)
{
    Bytes b{'V'};
    putU16(b, word);
    b.push_back(kCr);
    return b;
}

inline Bytes withProgram(std::uint8_t command, std::uint16_t program)
{
    Bytes b{command};
    putU16(b, program);
    b.push_back(kCr);
    return b;
}

inline Bytes step(std::uint16_t word, std::int32_t x, std::int32_t y, std::int32_t z)
{
    Bytes b;
    putU16(b, word);
    putI32(b, x);
    putI32(b, y);
    putI32(b, z);
    return b;
}

inline Bytes pauseStep()
{
    return Bytes(14, 0);
}

inline Bytes store(std::uint16_t program, std::initializer_list<Bytes> steps)
{
    Bytes b{'d'};
    putU16(b, program);
    putU16(b, static_cast<std::uint16_t>(steps.size()));
    b.push_back(kCr);
    for (const Bytes& s : steps)
        b.insert(b.end(), s.begin(), s.end());
    return b;
}

inline Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes b;
    for (const Bytes& p : parts)
        b.insert(b.end(), p.begin(), p.end());
    return b;
}

// The 13-byte reply to a position query.
inline Bytes positionReply(std::int32_t x, std::int32_t y, std::int32_t z)
{
    Bytes b;
    putI32(b, x);
    putI32(b, y);
    putI32(b, z);
    b.push_back(kCr);
    return b;
}

} // namespace simtest
