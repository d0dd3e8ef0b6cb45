#pragma once

#include "Position.h"

#include <QtGlobal>

// The controller's side of the program's state: what every client sees of
// the manipulator and its settings. Held by ControlLayer, which announces
// each change.
struct ControlState
{
    static constexpr int lowResolution = 1019;
    static constexpr int highResolution = 1021;
    // The highest velocity setting (µm/s), and the highest at high resolution.
    static constexpr int maxVelocity = 6550;
    static constexpr int highResolutionVelocityLimit = 1310;

    // Set while an absolute move awaits the controller's completion byte.
    bool busy = false;
    Position current;   // microsteps, as last reported by the controller
    Position lastDrawn; // microsteps, where the position marker was last drawn
    Position displayed; // whole micrometres, as shown in the read-out
    int resolution = lowResolution;
    quint16 velocity = 1000; // µm/s, without the high-resolution bit

    bool isHighResolution() const { return resolution != lowResolution; }
};
