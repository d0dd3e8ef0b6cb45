#pragma once

#include "Position.h"

#include <QString>
#include <QtGlobal>
#include <optional>

class Prompts;

// The controller carries positions as signed 32-bit microstep counts. A
// target whose microsteps do not fit would wrap round on the wire and send
// the manipulator the other way, so such a target is refused with a message
// and nothing is sent. Targets that fit go to the controller as they are.
class MoveRange
{
public:
    static const QString caption;

    // A target in whole micrometres: each axis times 25 must fit. Nothing,
    // with the refusal text set, when one does not.
    static std::optional<Position> fromMicrons(const Position& microns, QString* refusal);
    // A target already in microsteps, worked out without wrapping.
    static std::optional<Position> fromMicrosteps(qint64 x, qint64 y, qint64 z, QString* refusal);

    // "X = 90000000 µm lies outside ..." for axis 0, 1 or 2.
    static QString refusalText(int axis, qint64 microns);
    // The refusal as a warning box: caption "Warning", exclamation, OK.
    static void showRefusal(Prompts& prompts, const QString& refusal);
};
