#include "DesktopBackend.h"

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
#include "TravelLimitsStore.h"
#include "VelocityWord.h"

#include <QDir>


const QString DesktopBackend::resettingText =
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

DesktopBackend::DesktopBackend(ControlLayer& control, ProgramHost& programs, Clock& clock)
    : m_control(control)
    , m_programs(programs)
    , m_clock(clock)
    , m_limitsFolder(QDir::currentPath())
{
    observe();
}

DesktopBackend::~DesktopBackend() = default;

void DesktopBackend::publishKind(ServerEvent::Kind kind, const QString& detail, int program)
{
    ServerEvent event;
    event.kind = kind;
    event.detail = detail;
    event.program = program;
    publish(event);
}

void DesktopBackend::observe()
{
    // The layer announces whatever happens on the wire, whoever asked for it.
    QObject::connect(&m_control, &ControlLayer::positionChanged, &m_context, [this] {
        ServerEvent event;
        event.kind = ServerEvent::Kind::Position;
        event.microsteps = m_control.currentPosition();
        publish(event);
    });
    QObject::connect(&m_control, &ControlLayer::busyChanged, &m_context, [this](bool busy) {
        if (busy == m_busyShown)
            return;
        m_busyShown = busy;
        publishKind(busy ? ServerEvent::Kind::Busy : ServerEvent::Kind::Idle);
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
    QObject::connect(&m_control, &ControlLayer::linkRecovered, &m_context,
                     [this] { publishKind(ServerEvent::Kind::Recovered); });
    QObject::connect(&m_control, &ControlLayer::linkFailed, &m_context, [this] {
        const QString why = m_control.link().lastError();
        publishKind(ServerEvent::Kind::Lost, why.isEmpty() ? SerialLink::noReplyText : why);
    });
}

void DesktopBackend::setRecovering(bool recovering)
{
    if (recovering == m_recovering)
        return;
    m_recovering = recovering;
    if (recovering)
        publishKind(ServerEvent::Kind::Lost, resettingText);
}

TravelLimits DesktopBackend::travelLimits() const
{
    return m_control.travelLimits();
}

ServerStatus DesktopBackend::setTravelLimits(const TravelLimits& limits)
{
    // Saved first: limits in force that the file does not hold would be
    // lost at the next start.
    QString why;
    if (!TravelLimitsStore(m_limitsFolder).save(limits, &why))
        return error(ServerError::Kind::File, why);
    m_control.setTravelLimits(limits);
    return std::nullopt;
}

ServerStatus DesktopBackend::unavailable() const
{
    if (m_recovering)
        return error(ServerError::Kind::Controller, resettingText);
    return std::nullopt;
}

ProgramRequests DesktopBackend::requests()
{
    return ProgramRequests(m_control.link(), m_clock, [this](LinkStatus status) { return checked(status); });
}

ServerStatus DesktopBackend::checked(LinkStatus status) const
{
    if (status == LinkStatus::Ok)
        return std::nullopt;
    const QString last = m_control.link().lastError();
    const QString why = last.isEmpty() ? SerialLink::noReplyText : last;
    if (status == LinkStatus::TimedOut)
        return error(ServerError::Kind::Timeout, why);
    // Recovered: communication was reset; what was asked is not known done.
    return error(ServerError::Kind::Controller, why);
}

bool DesktopBackend::holding() const
{
    return m_windowHolding || m_control.isBusy() || m_control.moveInProgress() || m_control.runInProgress()
        || m_session;
}

bool DesktopBackend::busy() const
{
    // While the prompt is open the requests come through to be told why not.
    return !m_recovering && holding();
}

Position DesktopBackend::lastPosition() const
{
    return m_control.currentPosition();
}

int DesktopBackend::velocity() const
{
    return m_control.velocitySetting();
}

bool DesktopBackend::highResolution() const
{
    return m_control.isHighResolution();
}

ServerStatus DesktopBackend::position(Position* microsteps)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (const ServerStatus s = checked(m_control.getPosition()))
        return s;
    *microsteps = m_control.currentPosition();
    return std::nullopt;
}

ServerStatus DesktopBackend::move(const Position& target, Position* reached)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    if (m_onTarget)
        m_onTarget(target);
    LinkStatus status = LinkStatus::Ok;
    QString refusal;
    if (!m_control.requestMove(target, &status, &refusal))
        return refusal.isEmpty() ? busyError() : error(ServerError::Kind::Travel, refusal);
    if (const ServerStatus s = checked(status))
        return s;
    *reached = m_control.currentPosition();
    return std::nullopt;
}

ServerStatus DesktopBackend::stop()
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

ServerStatus DesktopBackend::setVelocity(int velocity)
{
    if (const ServerStatus s = unavailable())
        return s;
    LinkStatus status = LinkStatus::Ok;
    if (holding() || !m_control.applySpeed(static_cast<quint16>(velocity), m_control.isHighResolution(), &status))
        return busyError();
    return checked(status);
}

ServerStatus DesktopBackend::setResolution(bool high)
{
    if (const ServerStatus s = unavailable())
        return s;
    LinkStatus status = LinkStatus::Ok;
    if (holding() || !m_control.applySpeed(m_control.velocitySetting(), high, &status))
        return busyError();
    return checked(status);
}

ServerStatus DesktopBackend::status(std::array<int, StatusBlock::count>* numbers)
{
    if (const ServerStatus s = unavailable())
        return s;
    return checked(m_control.queryStatus(numbers));
}

ServerStatus DesktopBackend::refresh()
{
    if (const ServerStatus s = unavailable())
        return s;
    LinkStatus status = m_control.refreshDisplay();
    if (status == LinkStatus::Ok)
        status = m_control.getPosition();
    return checked(status);
}

ServerStatus DesktopBackend::reset()
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding() || m_control.isBusy())
        return busyError();
    return checked(m_control.controller().reset());
}

ServerStatus DesktopBackend::origin()
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

ServerStatus DesktopBackend::run(const RunRequest& request, RunResult* result)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    int lines = 0;
    if (!HostExecutor::countLines(request.file, &lines))
        return error(ServerError::Kind::File, CommandFile::cannotLoadText);
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

ServerStatus DesktopBackend::download(const QString& file, int program, int* steps)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    return requests().download(
        file, program, VelocityWord::encode(m_control.velocitySetting(), m_control.isHighResolution()),
        m_control.travelLimits(), steps);
}

ServerStatus DesktopBackend::execute(int program, bool relative, Position* reached)
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

ServerStatus DesktopBackend::continueRun()
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

ServerStatus DesktopBackend::halt()
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

ServerStatus DesktopBackend::upload(int program, const QString& file, int* steps)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    return requests().upload(program, file, steps);
}

ServerStatus DesktopBackend::programs(std::array<int, 10>* counts)
{
    if (const ServerStatus s = unavailable())
        return s;
    if (holding())
        return busyError();
    return requests().programs(counts);
}
