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

// The desktop program's owner of the controller as its local server sees
// it: every request goes through the control layer, so a client's move
// locks the window's controls, moves its read-out and marker exactly as the
// window's own move does; runs go through the one command-file executor
// with the layer as its moves; the controller programs through the program
// exchange. Nobody answers questions for a client: plain errors instead.
// While the recovery prompt is open, whatever needs the wire is a
// controller error.
class DesktopBackend : public ServerBackend
{
public:
    static const QString resettingText;

    DesktopBackend(ControlLayer& control, ProgramHost& programs, Clock& clock);
    ~DesktopBackend() override;

    // The window holds the controller (a controller-program dialog is open).
    void setWindowHolding(bool holding) { m_windowHolding = holding; }
    // The recovery prompt opens (true) or has been answered (false).
    void setRecovering(bool recovering);
    bool recovering() const { return m_recovering; }
    // The folder whose limits file a client's change of the travel limits is
    // saved to; the current folder unless told.
    void setLimitsFolder(const QString& folder) { m_limitsFolder = folder; }
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
    ServerStatus checked(LinkStatus status) const;
    // The program requests over this owner's link, its errors and events.
    ProgramRequests requests();
    // Something of the client's or the window's holds the controller.
    bool holding() const;
    void observe();
    void publishKind(ServerEvent::Kind kind, const QString& detail = QString(), int program = 0);

    ControlLayer& m_control;
    ProgramHost& m_programs;
    Clock& m_clock;
    QObject m_context;
    std::function<void(const Position&)> m_onTarget;
    QString m_limitsFolder;
    bool m_windowHolding = false;
    bool m_recovering = false;
    bool m_busyShown = false;
    HostExecutor* m_executor = nullptr;
    ExecuteSession* m_session = nullptr;
    ProgramExchange* m_exchange = nullptr;
};
