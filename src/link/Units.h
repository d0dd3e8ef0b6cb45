#pragma once

#include "Position.h"

#include <QtGlobal>

// Converts between micrometres and the controller's microsteps
// (1 microstep = 0.04 um, so 25 microsteps per micrometre). The conversion is
// the same whichever resolution the controller is moving at.
class Units
{
public:
    // Exact: microns * 25. The controller carries positions as signed 32-bit
    // values, so a result outside that range (|microns| > 85,899,345) wraps
    // modulo 2^32 exactly as it would on the wire.
    static qint32 micronsToMicrosteps(qint32 microns);

    // Whole micrometres for display: microsteps * 0.04 rounded half away from zero.
    static qint32 microstepsToMicrons(qint32 microsteps);

    static Position micronsToMicrosteps(const Position& microns);
    static Position microstepsToMicrons(const Position& microsteps);
};
