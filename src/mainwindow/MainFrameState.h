#pragma once

#include "Position.h"

#include <QString>
#include <array>

// Everything the main window keeps for the whole run, apart from the serial
// settings (the application's) and the widgets.
struct MainFrameState
{
    enum Stored { Home = 0, Position1, Position2, Position3, Previous, StoredCount };
    static constexpr int lowResolution = 1019;
    static constexpr int highResolution = 1021;

    bool toolbarsVisible = true;
    int pathSelector = 1;
    QString path1File;
    QString path2File;
    // Home, positions 1 to 3 and the previous position, in whole micrometres.
    std::array<Position, StoredCount> stored{};
    int selectedProgram = -1;
    // Set while an absolute move awaits the controller's completion byte.
    bool busy = false;
    float stepSize = 250.0f;
    Position current;   // microsteps, as last reported by the controller
    Position lastDrawn; // microsteps, where the position marker was last drawn
    Position displayed; // whole micrometres, as shown in the panel
    int resolution = lowResolution;
    quint16 velocity = 1000; // µm/s, without the high-resolution bit

    bool isHighResolution() const { return resolution != lowResolution; }
};
