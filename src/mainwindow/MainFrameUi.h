#pragma once

#include "Position.h"

// What the main window's operations need from its widgets. CMainFrame
// implements it; tests record the calls.
class MainFrameUi
{
public:
    virtual ~MainFrameUi() = default;
    // The panel's fields and step-size box, the menu bar and the status bar.
    virtual void setManualControlsEnabled(bool enabled) = 0;
    // Buttons follow the busy flag at once, and the bars are repainted.
    virtual void updateCommandStates() = 0;
    // The panel's X, Y and Z fields show a position in whole micrometres.
    virtual void showPanelPosition(const Position& microns) = 0;
    // The workspace view erases the marker at one position and draws it at
    // another (both in microsteps).
    virtual void moveMarker(const Position& from, const Position& to) = 0;
};
