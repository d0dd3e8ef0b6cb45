#pragma once

#include "ProgramHost.h"
#include "ServerBackend.h"

#include <functional>

class Clock;
class Controller;
class ExecuteSession;
class HostExecutor;
class ProgramExchange;
class ProgramRequests;
class SerialLink;

// qx410ctl serve's owner of the controller: the server's methods carried out
// on the controller, the command-file executor and the program exchanges,
// with the velocity setting and resolution it keeps in the desktop
// program's place. While a move or a run is awaited, the wait given here is
// called between looks at the port (it serves the other clients), so a stop
// or halt reaches the wire at once. The recovery prompt is off: a silent
// controller is a controller error and a "lost" event; the next exchange
// that succeeds is a "recovered" event.
class CtlServeBackend : public ServerBackend, private ProgramHost {
public:
    CtlServeBackend(
        SerialLink& link, Controller& controller, Clock& clock, int velocitySetting, bool high, int moveTimeoutMs);
    ~CtlServeBackend() override;

    void setWait(std::function<void()> wait) { m_wait = std::move(wait); }
    // The travel limits in force from the start, and the folder whose limits
    // file a client's change is saved to (empty: not saved).
    void keepLimits(const TravelLimits& limits, const QString& folder);
    // A move, run or program run is awaited.
    bool holding() const { return m_holding; }

    bool busy() const override { return false; }
    Position lastPosition() const override { return m_last; }
    int velocity() const override { return m_velocity; }
    bool highResolution() const override { return m_high; }
    TravelLimits travelLimits() const override { return m_limits; }
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
    // ProgramHost, for the program run.
    quint16 startVelocityWord() const override;
    int selectedProgram() const override { return m_program; }
    void setSelectedProgram(int program) override { m_program = program; }
    LinkStatus getPosition() override;
    void markerRefresh() override { }
    LinkStatus restoreVelocity() override;

    // Nothing for Ok; otherwise the error, and the "lost" event once.
    ServerStatus checked(LinkStatus status);
    // The program requests over this owner's link, its errors and events.
    ProgramRequests requests();
    // The position query twice, as after a move; publishes the position.
    LinkStatus readPosition();
    void publishSettings();
    // The interrupt command; ends a move's wait, else reads the position.
    ServerStatus interruptMove();
    void hold(bool on);

    SerialLink& m_link;
    Controller& m_controller;
    Clock& m_clock;
    int m_velocity;
    bool m_high;
    int m_moveTimeoutMs;
    std::function<void()> m_wait;
    bool m_moveFlag = false;
    bool m_holding = false;
    bool m_lost = false;
    Position m_last;
    int m_program = -1;
    TravelLimits m_limits;
    QString m_limitsFolder;
    HostExecutor* m_executor = nullptr;
    ExecuteSession* m_session = nullptr;
    ProgramExchange* m_exchange = nullptr;
};
