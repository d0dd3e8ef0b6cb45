#pragma once

#include "Position.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// Micrometres as qx410ctl reads and prints them. The controller moves in
// microsteps of 0.04 um (25 per micrometre): a number typed in micrometres,
// fractions included, becomes whole microsteps, and a position read back is
// printed in whole micrometres or, at high resolution, to the hundredth.
class MicronText
{
public:
    // The microsteps nearest to the micrometres written in word, blanks
    // around it allowed, as Microns::parse reads them (what
    // CtlOptions::isNumber takes); Microns::fitsController tells whether
    // the controller can carry them.
    static std::optional<qint64> toMicrosteps(const QString& word);
    // "-85899345.92 and 85899345.88": the micrometres the controller's
    // 32-bit positions span, for the refusal of a target beyond them.
    static QString controllerRangeText();

    // Microsteps in micrometres: whole micrometres (halves away from zero),
    // or with hundredths exactly ("12.48", "-3.00", "-0.04").
    static QString micronsText(qint32 microsteps, bool hundredths);
    // "X Y Z" in micrometres, as micronsText gives each.
    static QString positionText(const Position& microsteps, bool hundredths);
};
