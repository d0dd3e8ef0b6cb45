#include "VelocityWord.h"

namespace {
constexpr quint16 highResolutionBit = 0x8000;
constexpr quint16 velocityMask = 0x7FFF;
}

quint16 VelocityWord::encode(int velocity, bool highResolution)
{
    // Unsigned arithmetic keeps the wrap to 16 bits free of signed overflow.
    const unsigned word = static_cast<unsigned>(velocity) + (highResolution ? highResolutionBit : 0u);
    return static_cast<quint16>(word & 0xFFFFu);
}

int VelocityWord::velocity(quint16 word)
{
    return word & velocityMask;
}

bool VelocityWord::isHigh(quint16 word)
{
    return (word & highResolutionBit) != 0;
}
