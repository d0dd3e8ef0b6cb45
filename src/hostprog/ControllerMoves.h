#pragma once

#include "HostMoves.h"
#include "TravelLimits.h"

#include <functional>

class Clock;
class Controller;

// A command-file run straight on the controller, without a main window (the
// command line, benchmarks): the move waits for the completion byte, 100 ms,
// then reads the position twice; the velocity setting is given here.
class ControllerMoves : public HostMoves
{
public:
    // timeoutMs < 0: a move waits as long as it takes. A move that runs past
    // the limit is interrupted and the run ends.
    ControllerMoves(Controller& controller, Clock& clock, quint16 velocitySetting, int timeoutMs = -1);

    // Asked before every line; true makes the run halt.
    void setHaltRequest(std::function<bool()> request) { m_haltRequest = std::move(request); }

    // The travel limits each line's target is checked against.
    void setTravelLimits(const TravelLimits& limits) { m_limits = limits; }
    QString targetRefusal(const Position& microsteps) const override;

    // The position read after the last move (microsteps), and whether there was one.
    const Position& position() const { return m_position; }
    bool hasPosition() const { return m_hasPosition; }
    // Reads the position twice, as after a move.
    LinkStatus readPosition();

    bool& busy() override { return m_busy; }
    LinkStatus absoluteMove(const Position& microsteps) override;
    LinkStatus restoreVelocity() override;
    void refreshControls() override {}
    LinkStatus sendVelocity(quint16 word) override;
    LinkStatus sendContinue() override;
    LinkStatus writeContinueAndPurge() override;
    LinkStatus writeInterrupt() override;
    bool haltRequested() override { return m_haltRequest && m_haltRequest(); }

private:
    Controller& m_controller;
    Clock& m_clock;
    quint16 m_velocity;
    int m_timeoutMs;
    bool m_busy = false;
    Position m_position;
    bool m_hasPosition = false;
    std::function<bool()> m_haltRequest;
    TravelLimits m_limits;
};
