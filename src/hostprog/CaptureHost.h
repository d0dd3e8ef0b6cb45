#pragma once

#include "LinkStatus.h"
#include "Position.h"
#include "StatusBlock.h"

#include <QtGlobal>
#include <array>

// What the capture editor needs from the program around it: the busy flag,
// the velocity and resolution settings, the read-out, the position query
// and the status query. The control layer provides it.
class CaptureHost
{
public:
    virtual ~CaptureHost() = default;

    virtual bool isBusy() const = 0;
    // µm/s, without the high-resolution bit.
    virtual quint16 velocitySetting() const = 0;
    // The resolution choice code as kept (compared, never interpreted).
    virtual int resolutionSetting() const = 0;
    // The resolution setting is the high choice.
    virtual bool highResolutionChosen() const = 0;
    // Whole micrometres, as last read out.
    virtual Position displayedPosition() const = 0;
    virtual LinkStatus getPosition() = 0;
    virtual LinkStatus queryStatus(std::array<int, StatusBlock::count>* numbers) = 0;
};
