#pragma once

#include "LinkStatus.h"
#include "ServerBackend.h"

#include <QObject>
#include <functional>

class Clock;
class ControlLayer;
class ExecuteSession;
class HostExecutor;
class ProgramExchange;
class ProgramHost;
class ProgramRequests;

// The owner of the controller as the local server sees it, the same for the
// desktop program and qx410ctl serve: every request goes through the
// control layer, so a client's move locks the window's controls and moves
// its read-out and marker exactly as the window's own move does, and the
// travel limits and the busy lock hold for every client alike. Runs go
// through the one command-file executor with the layer as its moves, the
// controller programs through the program exchange. Nobody answers
// questions for a client: plain errors instead. While the desktop
// program's recovery prompt is open, whatever needs the wire is a
// controller error. A silent controller is a "lost" event once; the next
// exchange that succeeds is a "recovered" one.
class ControlBackend : public ServerBackend
{
public:
    static const QString resettingText;

    ControlBackend(ControlLayer& control, ProgramHost& programs, Clock& clock);
    ~ControlBackend() override;

    // Something of a client's or the window's holds the controller: a move,
    // a run, a controller program, an open controller-program dialog.
    bool holding() const;
    // The window holds the controller (a controller-program dialog is open).
    void setWindowHolding(bool holding) { m_windowHolding = holding; }
    // The recovery prompt opens (true) or has been answered (false).
    void setRecovering(bool recovering);
    bool recovering() const { return m_recovering; }
    // Told the target of a client's move, in microsteps, before it starts.
    void setOnTarget(std::function<void(const Position&)> onTarget) { m_onTarget = std::move(onTarget); }

    // The controller error while the recovery prompt is open.
    ServerStatus unavailable() const override;
    bool busy() const override;
    Position lastPosition() const override;
    int velocity() const override;
    bool highResolution() const override;
    TravelLimits travelLimits() const override;
    ServerStatus setTravelLimits(const TravelLimits& limits) override;

    ServerStatus position(Position* microsteps) override;
    ServerStatus move(const Position& target, Position* reached) override;
    ServerStatus stop() override;
    ServerStatus setVelocity(int velocity) override;
    ServerStatus setResolution(bool high) override;
    ServerStatus status(std::array<int, StatusBlock::count>* numbers) override;
    ServerStatus refresh() override;
    ServerStatus run(const RunRequest& request, RunResult* result) override;
    ServerStatus download(const QString& file, int program, int* steps) override;
    ServerStatus execute(int program, bool relative, Position* reached) override;
    ServerStatus continueRun() override;
    ServerStatus halt() override;
    ServerStatus upload(int program, const QString& file, int* steps) override;
    ServerStatus programs(std::array<int, 10>* steps) override;
    ServerStatus reset() override;
    ServerStatus origin() override;

private:
    // Nothing for Ok; otherwise the error the client is told.
    ServerStatus checked(LinkStatus status);
    void publishPosition();
    void showBusy(bool busy);
    void noteLost(const QString& why);
    void noteRecovered();
    // The program requests over this owner's link, its errors and events.
    ProgramRequests requests();
    void observe();
    void publishKind(ServerEvent::Kind kind, const QString& detail = QString(), int program = 0);

    ControlLayer& m_control;
    ProgramHost& m_programs;
    Clock& m_clock;
    QObject m_context;
    std::function<void(const Position&)> m_onTarget;
    bool m_windowHolding = false;
    bool m_recovering = false;
    bool m_busyShown = false;
    bool m_lost = false;
    bool m_positionPending = false;
    HostExecutor* m_executor = nullptr;
    ExecuteSession* m_session = nullptr;
    ProgramExchange* m_exchange = nullptr;
};
