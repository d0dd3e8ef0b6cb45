#include "ControlBackend.h"

#include "ClientPrompts.h"
#include "CommandFile.h"
#include "ControlLayer.h"
#include "ControlState.h"
#include "ExecuteSession.h"
#include "HostExecutor.h"
#include "ProgramExchange.h"
#include "ProgramHost.h"
#include "ProgramRequests.h"
#include "SerialLink.h"
#include "VelocityWord.h"



const QString ControlBackend::resettingText =
    QStringLiteral("The controller is not answering; the operator is asked to reset communication");

namespace {
ServerError error(ServerError::Kind kind, const QString& message)
{
    return ServerError{kind, message};
}

ServerError busyError()
{
    return error(ServerError::Kind::Busy, QStringLiteral("The controller is busy with another operation"));
}
} // namespace

ControlBackend::ControlBackend(ControlLayer& control, ProgramHost& programs, Clock& clock)
    : m_control(control)
    , m_programs(programs)
    , m_clock(clock)
{
    observe();
}

ControlBackend::~ControlBackend() = default;

void ControlBackend::publishKind(ServerEvent::Kind kind, const QString& detail, int program)
{
    ServerEvent event;
    event.kind = kind;
    event.detail = detail;
    event.program = program;
    publish(event);
}

void ControlBackend::observe()
{
    // The layer announces whatever happens on the wire, whoever asked for it.
    // A move reads its position back twice: clients hear it once, when the
    // move has ended.
    QObject::connect(&m_control, &ControlLayer::positionChanged, &m_context, [this] {
        if (m_control.moveInProgress())
            m_positionPending = true;
        else
            publishPosition();
    });
    // A move's idle waits until its position has been read back, so that
    // clients hear busy, position, idle.
    QObject::connect(&m_control, &ControlLayer::busyChanged, &m_context, [this](bool busy) {
        if (busy || !m_control.moveInProgress())
            showBusy(busy);
    });
    QObject::connect(&m_control, &ControlLayer::moveEnded, &m_context, [this] {
        if (m_control.moveInProgress())
            return;
        if (m_positionPending)
            publishPosition();
        showBusy(m_control.isBusy());
    });
    QObject::connect(&m_control, &ControlLayer::settingsChanged, &m_context, [this](quint16 velocity, int resolution) {
        ServerEvent event;
        event.kind = ServerEvent::Kind::SettingsChanged;
        event.velocity = velocity;
        event.high = resolution == ControlState::highResolution;
        publish(event);
    });
    // Whoever changed them: the window's dialog or a client.
    QObject::connect(&m_control, &ControlLayer::limitsChanged, &m_context, [this] {
        ServerEvent event;
        event.kind = ServerEvent::Kind::LimitsChanged;
        event.limits = m_control.travelLimits();
        publish(event);
    });
    QObject::connect(&m_control, &ControlLayer::linkRecovered, &m_context, [this] { noteRecovered(); });
    QObject::connect(&m_control, &ControlLayer::linkFailed, &m_context, [this] {
        const QString why = m_control.link().lastError();
        noteLost(why.isEmpty() ? SerialLink::noReplyText : why);
    });
}

void ControlBackend::publishPosition()
{
    m_positionPending = false;
    ServerEvent event;
    event.kind = ServerEvent::Kind::Position;
    event.microsteps = m_control.currentPosition();
    publish(event);
}

void ControlBackend::showBusy(bool busy)
{
    if (busy == m_busyShown)
        return;
    m_busyShown = busy;
    publishKind(busy ? ServerEvent::Kind::Busy : ServerEvent::Kind::Idle);
}

void ControlBackend::noteLost(const QString& why)
{
    if (m_lost)
        return;
    m_lost = true;
    publishKind(ServerEvent::Kind::Lost, why);
}

void ControlBackend::noteRecovered()
{
    m_lost = false;
    publishKind(ServerEvent::Kind::Recovered);
}

void ControlBackend::setRecovering(bool recovering)
{
    if (recovering == m_recovering)
        return;
    m_recovering = recovering;
    if (recovering)
        publishKind(ServerEvent::Kind::Lost, resettingText);
}

TravelLimits ControlBackend::travelLimits() const
{
    return m_control.travelLimits();
}

ServerStatus ControlBackend::setTravelLimits(const TravelLimits& limits)
{
    QString why;
    if (!m_control.saveTravelLimits(limits, &why))
        return error(ServerError::Kind::File, why);
    return std::nullopt;
}

ServerStatus ControlBackend::unavailable() const
{
    if (m_recovering)
        return error(ServerError::Kind::Controller, resettingText);
    return std::nullopt;
}

ProgramRequests ControlBackend::requests()
{
    return ProgramRequests(m_control.link(), m_clock, [this](LinkStatus status) { return checked(status); });
}

ServerStatus ControlBackend::checked(LinkStatus status)
{
    if (status == LinkStatus::Ok) {
        if (m_lost)
            noteRecovered();
        return std::nullopt;
    }
    const QString last = m_control.link().lastError();
    const QString why = last.isEmpty() ? SerialLink::noReplyText : last;
    if (status == LinkStatus::TimedOut)
        return error(ServerError::Kind::Timeout, why);
    // Failed without the recovery prompt (a server without a window): the
    // controller is lost until an exchange succeeds again.
    if (status == LinkStatus::Failed)
        noteLost(why);
    // Recovered: communication was reset; what was asked is not known done.
    return error(ServerError::Kind::Controller, why);
}

bool ControlBackend::holding() const
{
    return m_windowHolding || m_control.isBusy() || m_control.moveInProgress() || m_control.runInProgress()
        || m_session;
}

bool ControlBackend::busy() const
{
    // While the prompt is open the requests come through to be told why not.
    return !m_recovering && holding();
}

Position ControlBackend::lastPosition() const
{
    return m_control.currentPosition();
}

int ControlBackend::velocity() const
{
    return m_control.velocitySetting();
}

bool ControlBackend::highResolution() const
{
    return m_control.isHighResolution();
}

ServerStatus ControlBackend::position(Position* microsteps)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (const ServerStatus s = checked(m_control.getPosition()))
        return s;
    *microsteps = m_control.currentPosition();
    return std::nullopt;
}

ServerStatus ControlBackend::move(const Position& target, Position* reached)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    // Refused before the window is told of a target.
    QString refusal = m_control.limitRefusal(target);
    if (!refusal.isEmpty())
        return error(ServerError::Kind::Travel, refusal);
    if (m_onTarget)
        m_onTarget(target);
    LinkStatus status = LinkStatus::Ok;
    if (!m_control.requestMove(target, &status, &refusal))
        return refusal.isEmpty() ? busyError() : error(ServerError::Kind::Travel, refusal);
    if (const ServerStatus s = checked(status))
        return s;
    *reached = m_control.currentPosition();
    return std::nullopt;
}

ServerStatus ControlBackend::stop()
{
    if (const ServerStatus s = unavailable())
        return s;
    // A run is stopped by its halt, so that the velocity is set again.
    if (m_executor || m_session)
        return halt();
    const bool moving = m_control.isBusy() || m_control.moveInProgress();
    m_control.stop();
    // A move reads its own position back once its wait has ended.
    if (moving)
        return std::nullopt;
    return checked(m_control.getPosition());
}

ServerStatus ControlBackend::setVelocity(int velocity)
{
    if (const ServerStatus s = unavailable())
        return s;
    LinkStatus status = LinkStatus::Ok;
    if (holding() || !m_control.applySpeed(static_cast<quint16>(velocity), m_control.isHighResolution(), &status))
        return busyError();
    return checked(status);
}

ServerStatus ControlBackend::setResolution(bool high)
{
    if (const ServerStatus s = unavailable())
        return s;
    LinkStatus status = LinkStatus::Ok;
    if (holding() || !m_control.applySpeed(m_control.velocitySetting(), high, &status))
        return busyError();
    return checked(status);
}

ServerStatus ControlBackend::status(std::array<int, StatusBlock::count>* numbers)
{
    if (const ServerStatus s = unavailable())
        return s;
    return checked(m_control.queryStatus(numbers));
}

ServerStatus ControlBackend::refresh()
{
    if (const ServerStatus s = unavailable())
        return s;
    LinkStatus status = m_control.refreshDisplay();
    if (status == LinkStatus::Ok)
        status = m_control.getPosition();
    return checked(status);
}

ServerStatus ControlBackend::reset()
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding() || m_control.isBusy())
        return busyError();
    return checked(m_control.controller().reset());
}

ServerStatus ControlBackend::origin()
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding() || m_control.isBusy())
        return busyError();
    LinkStatus status = m_control.controller().setOrigin();
    // The present position is now 0 0 0: the read-out, the marker and the
    // clients follow it.
    if (status == LinkStatus::Ok)
        status = m_control.getPosition();
    return checked(status);
}

ServerStatus ControlBackend::run(const RunRequest& request, RunResult* result)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    int lines = 0;
    if (!HostExecutor::countLines(request.file, &lines))
        return error(ServerError::Kind::File, CommandFile::cannotLoadText);
    // A dead controller is found now rather than by a move that never ends.
    if (const ServerStatus s = checked(m_control.getPosition()))
        return s;
    ClientPrompts prompts(request.pause == PauseAnswer::Continue);
    HostExecutor executor(m_control, prompts, HostExecutor::Options::dialog());
    m_executor = &executor;
    publishKind(ServerEvent::Kind::RunStarted, request.file);
    const QString file = request.file;
    const HostExecutor::Outcome outcome = executor.loop([&file] { return file; }, request.loops);
    m_executor = nullptr;
    ServerStatus s;
    if (outcome == HostExecutor::Outcome::CannotLoad)
        s = error(ServerError::Kind::File, CommandFile::cannotLoadText);
    else if (outcome == HostExecutor::Outcome::LinkFailed)
        s = checked(LinkStatus::Failed);
    const bool halted = outcome != HostExecutor::Outcome::Finished;
    if (!s)
        s = checked(m_control.getPosition());
    // A line outside the travel limits ended the run: the client gets the
    // refusal as its error.
    if (!s && !executor.limitRefusal().isEmpty())
        s = error(ServerError::Kind::Travel, executor.limitRefusal());
    publishKind(ServerEvent::Kind::RunEnded,
                s ? s->message : halted ? QStringLiteral("halted") : QStringLiteral("finished"));
    if (s)
        return s;
    result->reached = m_control.currentPosition();
    result->halted = halted;
    return std::nullopt;
}

ServerStatus ControlBackend::download(const QString& file, int program, int* steps)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    return requests().download(
        file, program, VelocityWord::encode(m_control.velocitySetting(), m_control.isHighResolution()),
        m_control.travelLimits(), steps);
}

ServerStatus ControlBackend::execute(int program, bool relative, Position* reached)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    ProgramExchange exchange(m_control.link(), m_clock);
    int count = 0;
    if (const ServerStatus s = checked(exchange.stepCount(program, &count)))
        return s;
    if (count == 0)
        return error(ServerError::Kind::Refused, ExecuteSession::emptyProgramText);
    ClientPrompts prompts(false);
    m_programs.setSelectedProgram(program);
    ExecuteSession session(exchange, prompts, m_programs);
    session.setRelativeConfirmed(true); // the server has had it confirmed
    m_session = &session;
    m_exchange = &exchange;
    // The window's controls are locked while the program runs, as for a move.
    m_control.busy() = true;
    m_control.refreshControls();
    publishKind(ServerEvent::Kind::ProgramStarted, QString(), program);
    const LinkStatus status = session.execute(!relative);
    m_session = nullptr;
    m_exchange = nullptr;
    m_control.busy() = false;
    m_control.refreshControls();
    publishKind(ServerEvent::Kind::ProgramEnded, QString(), program);
    if (const ServerStatus s = checked(status))
        return s;
    *reached = m_control.currentPosition();
    return std::nullopt;
}

ServerStatus ControlBackend::continueRun()
{
    if (const ServerStatus s = unavailable())
        return s;
    if (m_session && m_exchange) {
        if (m_session->running())
            return checked(m_exchange->continueRun(true));
        return std::nullopt;
    }
    // Its settle and purge would swallow the completion byte of a move.
    if (holding())
        return busyError();
    ProgramExchange exchange(m_control.link(), m_clock);
    return checked(exchange.continueRun(false));
}

ServerStatus ControlBackend::halt()
{
    if (const ServerStatus s = unavailable())
        return s;
    if (m_executor) {
        m_executor->halt();
        return std::nullopt;
    }
    if (m_session) {
        m_session->halt();
        return std::nullopt;
    }
    // The window's runs end as their own Halt ends them.
    if (m_control.runInProgress()) {
        m_control.haltRuns();
        return std::nullopt;
    }
    // Nothing runs: a halt stops a move like Stop.
    return stop();
}

ServerStatus ControlBackend::upload(int program, const QString& file, int* steps)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    return requests().upload(program, file, steps);
}

ServerStatus ControlBackend::programs(std::array<int, 10>* counts)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    return requests().programs(counts);
}
