#pragma once

#include "LinkStatus.h"
#include "TravelLimits.h"

#include <QtGlobal>

// What the controller-program dialogs need from the main window: its velocity
// and resolution settings, the travel limits in force, the selected program
// number it keeps between openings, and its get position, marker refresh and
// restore velocity. The
// desktop program answers with the main window; the command line with the
// controller and its options.
class ProgramHost
{
public:
    virtual ~ProgramHost() = default;

    // The velocity setting with bit 15 set at high resolution.
    virtual quint16 startVelocityWord() const = 0;
    // The limits a downloaded file is checked against and a relative run is
    // warned of.
    virtual TravelLimits travelLimits() const = 0;
    // 1 to 10, or -1 for none.
    virtual int selectedProgram() const = 0;
    virtual void setSelectedProgram(int program) = 0;
    virtual LinkStatus getPosition() = 0;
    virtual void markerRefresh() = 0;
    // The velocity command with the velocity setting, high-resolution bit clear.
    virtual LinkStatus restoreVelocity() = 0;
};
