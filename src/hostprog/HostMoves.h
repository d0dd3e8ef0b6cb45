#pragma once

#include "LinkStatus.h"
#include "Position.h"

#include <QString>
#include <QtGlobal>

class HostExecutor;

// What a command-file run needs from the program around it. In the desktop
// program the main window's operations provide it (its busy flag, the
// absolute move with its lock-out, the control-bar refresh); on the command
// line the controller alone does.
class HostMoves
{
public:
    virtual ~HostMoves() = default;

    // Set while a move awaits the controller's completion byte; clearing it
    // (Halt, Stop) ends that wait.
    virtual bool& busy() = 0;
    // Moves to X, Y, Z microsteps and waits for the move to end or the busy
    // flag to be cleared, then reads the position back.
    virtual LinkStatus absoluteMove(const Position& microsteps) = 0;
    // Empty when a line's target (microsteps) may be sent; otherwise why it is
    // refused, as the middle of "Line N REASON. It was not sent ..." (the
    // travel limits). Asked before every move.
    virtual QString targetRefusal(const Position& microsteps) const
    {
        Q_UNUSED(microsteps);
        return QString();
    }
    // The velocity command with the program's velocity setting, low resolution.
    virtual LinkStatus restoreVelocity() = 0;
    // Brings the controls up to date with the busy flag at once.
    virtual void refreshControls() = 0;
    // The velocity command by send and settle.
    virtual LinkStatus sendVelocity(quint16 word) = 0;
    // The continue command by send and settle.
    virtual LinkStatus sendContinue() = 0;
    // The continue command written, then the receive side cleared at once.
    virtual LinkStatus writeContinueAndPurge() = 0;
    // The interrupt command written; nothing read, no pause.
    virtual LinkStatus writeInterrupt() = 0;

    // Lets waiting events (a Halt button) run for a moment.
    virtual void yieldTurn() {}
    // True when the run is asked to halt from outside its own controls (an
    // interrupt signal on the command line).
    virtual bool haltRequested() { return false; }

    // A run or loop of this executor has started or ended on these moves
    // (a loop's passes are runs within it). The desktop program keeps them
    // so that closing the window can halt whatever is running first.
    virtual void runStarted(HostExecutor& executor) { Q_UNUSED(executor); }
    virtual void runEnded(HostExecutor& executor) { Q_UNUSED(executor); }
};
