#include "Motion.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace qx410sim {

namespace {

// Interpolation multiplies a 32-bit position by a 40-bit time base; 128-bit
// intermediates keep that exact over the whole position range.
__extension__ using Wide = __int128;

constexpr std::int64_t kMsPerSecond = 1000;

} // namespace

std::int64_t Motion::speedOf(std::uint16_t velocityWord)
{
    const std::int64_t speed = velocityWord & 0x7FFF;
    return speed == 0 ? 1 : speed;
}

Motion::Motion(const Triple& start, const Triple& target, std::int64_t startMs, std::uint16_t velocityWord)
    : m_start(start)
    , m_target(target)
    , m_startMs(startMs)
    , m_velocityWord(velocityWord)
    , m_speed(speedOf(velocityWord))
    , m_longest(0)
    , m_endMs(startMs)
{
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const std::int64_t distance = std::llabs(static_cast<std::int64_t>(m_target[axis]) - m_start[axis]);
        m_longest = std::max(m_longest, distance);
    }
    // Travel time in ms = longest * 1000 / (25 * speed) = longest * 40 / speed, rounded up.
    const std::int64_t scaled = m_longest * (kMsPerSecond / kMicrostepsPerMicron);
    m_endMs = startMs + (scaled + m_speed - 1) / m_speed;
}

Motion Motion::shiftedBy(const Triple& origin) const
{
    Motion shifted = *this;
    shifted.m_start = clampedSum(m_start, origin, -1);
    shifted.m_target = clampedSum(m_target, origin, -1);
    return shifted;
}

Triple Motion::positionAt(std::int64_t nowMs) const
{
    if (nowMs >= m_endMs)
        return m_target;
    if (nowMs <= m_startMs)
        return m_start;

    // Fraction of the way done = elapsed * speed / (longest * 40); it stays below 1
    // here because nowMs < m_endMs. The position is the exact rational
    // start + delta * fraction, truncated toward zero.
    const Wide done = static_cast<Wide>(nowMs - m_startMs) * m_speed;
    const Wide whole = static_cast<Wide>(m_longest) * (kMsPerSecond / kMicrostepsPerMicron);
    Triple position{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const Wide delta = static_cast<Wide>(m_target[axis]) - m_start[axis];
        const Wide numerator = static_cast<Wide>(m_start[axis]) * whole + delta * done;
        position[axis] = static_cast<std::int32_t>(numerator / whole);
    }
    return position;
}

Triple clampedSum(const Triple& base, const Triple& offset, int sign)
{
    Triple sum{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const std::int64_t value = static_cast<std::int64_t>(base[axis]) + sign * static_cast<std::int64_t>(offset[axis]);
        sum[axis] = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    }
    return sum;
}

} // namespace qx410sim
