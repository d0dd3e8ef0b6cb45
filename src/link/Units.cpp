#include "Units.h"

namespace {
constexpr quint32 microstepsPerMicron = 25;
constexpr double micronsPerMicrostep = 0.04;
}

qint32 Units::micronsToMicrosteps(qint32 microns)
{
    // Multiply in unsigned arithmetic so an out-of-range value wraps instead of
    // overflowing a signed integer.
    return static_cast<qint32>(static_cast<quint32>(microns) * microstepsPerMicron);
}

qint32 Units::microstepsToMicrons(qint32 microsteps)
{
    // The conversion to an integer truncates toward zero; adding or subtracting
    // one half first turns that into rounding half away from zero.
    // |microsteps * 0.04| stays below 2^27, so the result always fits.
    const double microns = microsteps * micronsPerMicrostep;
    return static_cast<qint32>(microsteps >= 0 ? microns + 0.5 : microns - 0.5);
}

Position Units::micronsToMicrosteps(const Position& microns)
{
    return {micronsToMicrosteps(microns.x), micronsToMicrosteps(microns.y),
            micronsToMicrosteps(microns.z)};
}

Position Units::microstepsToMicrons(const Position& microsteps)
{
    return {microstepsToMicrons(microsteps.x), microstepsToMicrons(microsteps.y),
            microstepsToMicrons(microsteps.z)};
}
