#pragma once

// Little-endian packing of the numeric fields that travel on the serial line:
// 16-bit words go low byte first, positions and upload velocity fields are
// signed 32-bit two's complement, low byte first.

#include <cstdint>
#include <vector>

namespace qx410sim::byteorder {

inline std::uint16_t readU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::int32_t readI32(const std::uint8_t* p)
{
    const std::uint32_t u = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    // Two's complement reinterpretation without relying on implementation-defined narrowing.
    return u <= 0x7FFFFFFFu ? static_cast<std::int32_t>(u)
                            : static_cast<std::int32_t>(static_cast<std::int64_t>(u) - 0x100000000LL);
}

inline std::int16_t readI16(const std::uint8_t* p)
{
    const std::uint16_t u = readU16(p);
    return u <= 0x7FFF ? static_cast<std::int16_t>(u) : static_cast<std::int16_t>(static_cast<int>(u) - 0x10000);
}

inline void appendU16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendI16(std::vector<std::uint8_t>& out, std::int16_t value)
{
    appendU16(out, static_cast<std::uint16_t>(value));
}

inline void appendU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

inline void appendI32(std::vector<std::uint8_t>& out, std::int32_t value)
{
    appendU32(out, static_cast<std::uint32_t>(value));
}

} // namespace qx410sim::byteorder
