#pragma once

#include "HostMoves.h"
#include "LinkStatus.h"
#include "Position.h"

#include <functional>
#include <vector>

class Clock;
class Controller;
class MainFrameUi;
struct MainFrameState;

// The operations the main window offers the rest of the program: get
// position, the absolute move with its lock-out, marker refresh, restore
// velocity, Stop, and the controller exchange that ends window creation.
// Command-file runs (Execute Host Programs, the paths) reach the controller
// through them as their HostMoves.
class MainOperations : public HostMoves
{
public:
    MainOperations(MainFrameState& state, Controller& controller, Clock& clock, MainFrameUi& ui);

    // Position query; on a reply the displayed position, the panel fields and
    // the current position follow it.
    LinkStatus getPosition();
    // Moves to X, Y, Z microsteps: previous position from the marker, busy
    // flag and lock-out, the move and its wait, 100 ms, unlock, two position
    // queries, marker refresh.
    LinkStatus absoluteMove(const Position& microsteps) override;
    void markerRefresh();
    // The velocity command with the velocity setting, high-resolution bit clear.
    LinkStatus restoreVelocity() override;
    // Last steps of window creation: two position queries, the marker taken
    // as drawn there, and the velocity command.
    LinkStatus initialExchange();
    // Stop: the interrupt command, and the move's wait ends.
    void stop();

    // HostMoves for command-file runs.
    bool& busy() override;
    // The control-bar refresh: buttons follow the busy flag at once, the bars
    // are repainted.
    void refreshControls() override;
    LinkStatus sendVelocity(quint16 word) override;
    LinkStatus sendContinue() override;
    LinkStatus writeContinueAndPurge() override;
    LinkStatus writeInterrupt() override;
    // Processes the events waiting now, without blocking.
    void yieldTurn() override;
    void runStarted(HostExecutor& executor) override;
    void runEnded(HostExecutor& executor) override;

    // A command-file run (a path, Execute Host Programs) is on the stack.
    bool runInProgress() const { return !m_runs.empty(); }
    // An absolute move is on the stack (Stop may have cleared the busy flag
    // already; the move still reads its position back).
    bool moveInProgress() const { return m_moves > 0; }
    // Ends every run in progress as its own Halt does (for a path: the
    // interrupt); each then ends before its next line.
    void haltRuns();
    // Called when the last run in progress has ended.
    void setOnRunsEnded(std::function<void()> ended) { m_onRunsEnded = std::move(ended); }

private:
    LinkStatus moveAndReadBack(const Position& microsteps);

    MainFrameState& m_state;
    Controller& m_controller;
    Clock& m_clock;
    MainFrameUi& m_ui;
    // Every run and loop in progress, innermost last (a loop appears once
    // for itself and once for its pass).
    std::vector<HostExecutor*> m_runs;
    std::function<void()> m_onRunsEnded;
    int m_moves = 0;
};
