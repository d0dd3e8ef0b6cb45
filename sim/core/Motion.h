#pragma once

#include <array>
#include <cstdint>

namespace qx410sim {

// X, Y, Z in microsteps (1 microstep = 0.04 um).
using Triple = std::array<std::int32_t, 3>;

// One straight move of the three axes from a start point to a target at a fixed
// speed. All three axes start and stop together; the axis with the longest way
// to go sets the travel time:
//
//     travel time [ms] = longest distance [microsteps] * 40 / speed [um/s]
//
// (25 microsteps per um, 1000 ms per s). The end is rounded up to the next whole
// millisecond so the axes are never reported as arrived early. Between start and
// end the position is interpolated linearly and truncated toward zero to whole
// microsteps.
class Motion
{
public:
    static constexpr int kMicrostepsPerMicron = 25;

    // velocityWord: bits 0..14 speed in um/s (0 runs at 1 um/s), bit 15 the
    // resolution flag, which does not change the speed.
    Motion(const Triple& start, const Triple& target, std::int64_t startMs, std::uint16_t velocityWord);

    const Triple& start() const { return m_start; }
    const Triple& target() const { return m_target; }
    std::int64_t startMs() const { return m_startMs; }
    std::int64_t endMs() const { return m_endMs; }
    std::uint16_t velocityWord() const { return m_velocityWord; }

    // True when start and target coincide: such a move is over the moment it starts.
    bool isEmpty() const { return m_longest == 0; }

    // Axis position at nowMs (clamped to the start before startMs, the target from endMs on).
    Triple positionAt(std::int64_t nowMs) const;

    // The same move seen from an origin moved to `origin`: start and target are
    // shifted by -origin, timing is unchanged.
    Motion shiftedBy(const Triple& origin) const;

    // Speed in um/s that the velocity word asks for (0 counts as 1).
    static std::int64_t speedOf(std::uint16_t velocityWord);

private:
    Triple m_start;
    Triple m_target;
    std::int64_t m_startMs;
    std::uint16_t m_velocityWord;
    std::int64_t m_speed;   // um/s, >= 1
    std::int64_t m_longest; // microsteps, >= 0
    std::int64_t m_endMs;
};

// base + sign * offset per axis, clamped to the 32-bit position range (sign is +1 or -1).
Triple clampedSum(const Triple& base, const Triple& offset, int sign = 1);

} // namespace qx410sim
