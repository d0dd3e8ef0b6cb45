#pragma once

#include "PathSlots.h"
#include "StoredSlots.h"

// What the main window keeps for the whole run, apart from the serial
// settings (the application's), the controller's side (ControlLayer) and
// the widgets: the toolbars, the paths, the stored positions, the selected
// controller program and the step size.
struct MainFrameState : PathSlots, StoredSlots
{
    bool toolbarsVisible = true;
    int selectedProgram = -1;
    float stepSize = 250.0f;
};
