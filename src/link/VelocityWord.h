#pragma once

#include <QtGlobal>

// The 16-bit velocity word sent with the velocity command and stored in program
// steps: bits 0-14 hold the velocity in um/s, bit 15 selects high resolution.
class VelocityWord
{
public:
    // velocity + 0x8000 when highResolution, else velocity, kept to 16 bits.
    // Velocities are expected in 0..32767; anything else wraps to 16 bits.
    static quint16 encode(int velocity, bool highResolution);
    static int velocity(quint16 word);
    static bool isHigh(quint16 word);
};
