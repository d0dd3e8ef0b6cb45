#pragma once

#include "Position.h"
#include "StatusBlock.h"
#include "TravelLimits.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

// Why the owner of the controller could not do what a client asked. The
// message is the one the window would show.
struct ServerError {
    // Travel: a target outside the travel limits, nothing sent.
    enum class Kind { Busy, Range, Refused, Timeout, Controller, File, Travel };
    Kind kind = Kind::Controller;
    QString message;
};

// Nothing when the operation was done; the error otherwise.
using ServerStatus = std::optional<ServerError>;

// Something subscribed clients are told about.
struct ServerEvent {
    enum class Kind {
        Position, // microsteps: after every move, stop or refresh
        Busy, // a move or run has started to hold the controller
        Idle, // it has ended
        RunStarted, // detail: the command file
        RunEnded, // detail: "finished", "halted" or the error message
        ProgramStarted, // program: its number
        ProgramEnded, // program: its number
        SettingsChanged, // velocity and high: the new settings
        Lost, // detail: what went wrong with the controller
        Recovered,
        LimitsChanged, // limits: the travel limits now in force
    };
    Kind kind = Kind::Idle;
    Position microsteps;
    QString detail;
    int program = 0;
    int velocity = 0;
    bool high = false;
    TravelLimits limits;
};

// What the local server needs from whoever owns the controller: the desktop
// program or qx410ctl serve. Plain values in and out; positions in
// microsteps. The server has checked types and ranges before it calls; the
// owner keeps the controller's own rules (one exchange at a time, the
// recovery prompt, the velocity restore).
class ServerBackend {
public:
    enum class PauseAnswer { Continue, Halt };
    struct RunRequest {
        QString file;
        int loops = 1; // 0: until halted
        PauseAnswer pause = PauseAnswer::Halt;
    };
    struct RunResult {
        Position reached; // microsteps
        bool halted = false; // a Pause answered Halt, a halt, a line refused
    };

    virtual ~ServerBackend() = default;

    // True while the owner itself holds the controller (a move or run of the
    // window); the server then answers busy without calling.
    virtual bool busy() const = 0;
    // Why nothing can reach the controller now, whatever else is under way
    // (the desktop program's recovery prompt is open); nothing normally.
    // Requests that need the wire are answered with it, ahead of busy.
    virtual ServerStatus unavailable() const { return std::nullopt; }
    // The last position read, without wire traffic (microsteps).
    virtual Position lastPosition() const = 0;
    virtual int velocity() const = 0;
    virtual bool highResolution() const = 0;

    virtual ServerStatus position(Position* microsteps) = 0;
    // An absolute move; waits for its end and reads the position reached.
    virtual ServerStatus move(const Position& target, Position* reached) = 0;
    virtual ServerStatus stop() = 0;
    virtual ServerStatus setVelocity(int velocity) = 0;
    virtual ServerStatus setResolution(bool high) = 0;
    virtual ServerStatus status(std::array<int, StatusBlock::count>* numbers) = 0;
    virtual ServerStatus refresh() = 0;
    virtual ServerStatus run(const RunRequest& request, RunResult* result) = 0;
    virtual ServerStatus download(const QString& file, int program, int* steps) = 0;
    // A relative run while travel limits are set comes here only once the
    // client has confirmed it: the owner does not ask again.
    virtual ServerStatus execute(int program, bool relative, Position* reached) = 0;
    virtual ServerStatus continueRun() = 0;
    virtual ServerStatus halt() = 0;
    virtual ServerStatus upload(int program, const QString& file, int* steps) = 0;
    virtual ServerStatus programs(std::array<int, 10>* steps) = 0;
    // The travel limits in force. Setting them puts them in force at once
    // and saves them as the owner keeps them; a File error when they could
    // not be saved (then nothing changed). The owner publishes
    // LimitsChanged. A move, run or download outside them is a Travel error.
    virtual TravelLimits travelLimits() const = 0;
    virtual ServerStatus setTravelLimits(const TravelLimits& limits) = 0;
    // The controller's reset, and the present position made the origin. An
    // owner that does not offer them refuses them.
    virtual ServerStatus reset() { return notOffered(); }
    virtual ServerStatus origin() { return notOffered(); }

    using EventSink = std::function<void(const ServerEvent&)>;
    void setEventSink(EventSink sink) { m_sink = std::move(sink); }

protected:
    static ServerStatus notOffered()
    {
        return ServerError { ServerError::Kind::Refused, QStringLiteral("not offered by this program") };
    }
    void publish(const ServerEvent& event)
    {
        if (m_sink)
            m_sink(event);
    }

private:
    EventSink m_sink;
};
