#pragma once

#include "CaptureHost.h"
#include "ControlState.h"
#include "Controller.h"
#include "HostMoves.h"
#include "LinkStatus.h"
#include "Position.h"
#include "StatusBlock.h"
#include "TravelLimits.h"

#include <QObject>
#include <array>
#include <vector>

class Clock;
class SerialLink;

// The controller as every client sees it: one link, one busy flag, one set
// of positions and settings, and the operations on them (get position, the
// absolute move with its wait, marker refresh, restore velocity, Stop,
// refresh, the exchange that ends start-up). It owns no widgets: the main
// window, the dialogs and any other client observe its signals. The
// command-file runs reach the controller through it as their HostMoves, the
// capture editor as its CaptureHost.
class ControlLayer : public QObject, public HostMoves, public CaptureHost
{
    Q_OBJECT
public:
    ControlLayer(SerialLink& link, Clock& clock, QObject* parent = nullptr);

    Controller& controller() { return m_controller; }
    SerialLink& link() { return m_link; }
    // The values themselves. Writing them directly announces nothing; the
    // setters below do.
    ControlState& state() { return m_state; }
    const ControlState& state() const { return m_state; }

    bool isBusy() const override { return m_state.busy; }
    // Microsteps, as last reported by the controller.
    Position currentPosition() const { return m_state.current; }
    // Whole micrometres, as last read out.
    Position displayedPosition() const override { return m_state.displayed; }
    quint16 velocitySetting() const override { return m_state.velocity; }
    int resolutionSetting() const override { return m_state.resolution; }
    bool isHighResolution() const { return m_state.isHighResolution(); }
    bool highResolutionChosen() const override { return m_state.resolution == ControlState::highResolution; }
    // The port to the controller is open.
    bool linkOpen() const;

    // The settings (velocity in µm/s without the high-resolution bit;
    // ControlState::lowResolution or highResolution). Nothing is sent.
    void setVelocitySetting(quint16 velocity);
    void setResolutionSetting(int resolution);
    // The target of the next move (a step button, a click in the plan).
    void setCurrentPosition(const Position& microsteps);
    // A client's velocity and resolution, applied as the Velocity and
    // Resolution dialogs apply them: both settings, then the velocity command
    // with the resolution bit. Refused (false; nothing changed or sent) while
    // a move is awaited, above maxVelocity, or above
    // highResolutionVelocityLimit at high resolution.
    bool applySpeed(quint16 velocity, bool high, LinkStatus* status = nullptr);

    // Position query; on a reply the displayed and current positions follow
    // it and positionChanged is emitted.
    LinkStatus getPosition() override;
    // How long a move's wait may last before the move is stopped (TimedOut);
    // negative, as in the window: as long as the move takes.
    void setMoveTimeoutMs(int timeoutMs) { m_moveTimeoutMs = timeoutMs; }
    // Moves to X, Y, Z microsteps: previous position from the marker, busy
    // flag and lock-out, the move and its wait, 100 ms, unlock, two position
    // queries, marker refresh. A move past the time-out is interrupted, read
    // back the same way, and ends TimedOut.
    LinkStatus absoluteMove(const Position& microsteps) override;
    // A client's move: refused at once (false, nothing sent) while a move is
    // awaited, never queued, or when the target leaves the travel limits
    // (*refusal then says why); otherwise the absolute move, *status its result.
    bool requestMove(const Position& microsteps, LinkStatus* status = nullptr, QString* refusal = nullptr);

    // The travel limits every target is checked against before it is sent.
    const TravelLimits& travelLimits() const { return m_limits; }
    // New limits in force at once (limitsChanged); nothing is written.
    void setTravelLimits(const TravelLimits& limits);
    // The settings folder, where Qx410.limits is kept.
    void setLimitsFolder(const QString& folder) { m_limitsFolder = folder; }
    // A change of the limits by the operator or a client: saved to the limits
    // file first (limits in force that the file does not hold would be lost at
    // the next start), then in force. False, with *why set and the limits
    // in force as they were, when the file could not be written.
    bool saveTravelLimits(const TravelLimits& limits, QString* why);
    // Empty when the target (microsteps) lies within the travel limits;
    // otherwise "Z = -6000 µm lies below the Z floor of -5000 µm. Nothing was sent."
    QString limitRefusal(const Position& microsteps) const;
    // HostMoves: the reason a command-file line's target is refused for.
    QString targetRefusal(const Position& microsteps) const override;
    // The marker moves from the last-drawn to the current position, which
    // becomes the last-drawn one.
    void markerRefresh();
    // The velocity command with the velocity setting, high-resolution bit clear.
    LinkStatus restoreVelocity() override;
    // Last steps of start-up: two position queries, the marker taken as drawn
    // there, and the velocity command.
    LinkStatus initialExchange();
    // Stop: the busy flag cleared (the move's wait ends) and the interrupt
    // command sent. Always goes through.
    void stop();
    // The controller's own display shows X, Y, Z again.
    LinkStatus refreshDisplay();
    // The controller's status block.
    LinkStatus queryStatus(std::array<int, StatusBlock::count>* numbers) override;

    // HostMoves for command-file runs.
    bool& busy() override;
    // The controls follow the busy flag at once (busyChanged).
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

signals:
    // The busy flag was set or cleared, or a run asks the controls to follow
    // it now; emitted synchronously, so the controls are up to date before
    // the exchange goes on.
    void busyChanged(bool busy);
    // An absolute move locks the manual controls while it is awaited.
    void moveLockChanged(bool locked);
    // A move starts from here (whole micrometres): the previous position.
    void moveStarted(const Position& previousMicrons);
    // An absolute move has ended, its position read back (or not: the link
    // gave up); the last of its announcements.
    void moveEnded();
    // A position reply arrived (whole micrometres).
    void positionChanged(const Position& microns);
    // The marker moves (both in microsteps).
    void markerMoved(const Position& from, const Position& to);
    // The velocity or resolution setting changed.
    void settingsChanged(quint16 velocity, int resolution);
    // An exchange got no answer and the operator reset communication; the
    // port is open again.
    void linkRecovered();
    // The link gave up: the program is ending.
    void linkFailed();
    // The last command-file run in progress has ended.
    void runsEnded();
    // The travel limits changed.
    void limitsChanged();

private:
    LinkStatus moveAndReadBack(const Position& microsteps);
    void setBusy(bool busy);
    LinkStatus noted(LinkStatus status);

    SerialLink& m_link;
    Controller m_controller;
    Clock& m_clock;
    ControlState m_state;
    TravelLimits m_limits;
    QString m_limitsFolder;
    // Every run and loop in progress, innermost last (a loop appears once
    // for itself and once for its pass).
    std::vector<HostExecutor*> m_runs;
    int m_moves = 0;
    int m_moveTimeoutMs = -1;
};
