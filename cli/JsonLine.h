#pragma once

#include "Position.h"

#include <QJsonObject>
#include <QString>

// The --json output of qx410ctl: one compact JSON object per line, so that a
// script in any language can read the output line by line.
class JsonLine
{
public:
    // The object as one line of compact JSON, without a line break.
    static QString of(const QJsonObject& object);
    // {"x":X,"y":Y,"z":Z}, in whatever units position is given.
    static QJsonObject position(const Position& position);
    // A position as qx410ctl prints it: "X Y Z", or the JSON object line.
    static QString positionLine(const Position& position, bool json);
    // A position given in microsteps, as position and move print it: "X Y Z"
    // in whole micrometres, or at high resolution to the hundredth ("12.48
    // -3.00 100.04"). The JSON object has whole micrometres, or at high
    // resolution micrometres with their fraction (12.48), so it loses no step.
    static QString microstepsLine(const Position& microsteps, bool high, bool json);
};
