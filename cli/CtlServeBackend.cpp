#include "CtlServeBackend.h"

#include "Clock.h"
#include "CommandFile.h"
#include "ConsolePrompts.h"
#include "Controller.h"
#include "ControllerMoves.h"
#include "ExecuteSession.h"
#include "HostExecutor.h"
#include "PausePrompts.h"
#include "ProgramExchange.h"
#include "ProgramRequests.h"
#include "SerialLink.h"
#include "TravelLimitsStore.h"
#include "VelocityWord.h"


namespace {
ServerError error(ServerError::Kind kind, const QString& message)
{
    return ServerError { kind, message };
}
} // namespace

CtlServeBackend::CtlServeBackend(
    SerialLink& link, Controller& controller, Clock& clock, int velocitySetting, bool high, int moveTimeoutMs)
    : m_link(link)
    , m_controller(controller)
    , m_clock(clock)
    , m_velocity(velocitySetting)
    , m_high(high)
    , m_moveTimeoutMs(moveTimeoutMs)
{
    m_link.setMessagePump([this] {
        if (m_wait)
            m_wait();
        return true;
    });
}

CtlServeBackend::~CtlServeBackend()
{
    m_link.setMessagePump(nullptr);
}

void CtlServeBackend::keepLimits(const TravelLimits& limits, const QString& folder)
{
    m_limits = limits;
    m_limitsFolder = folder;
}

ServerStatus CtlServeBackend::setTravelLimits(const TravelLimits& limits)
{
    QString why;
    if (!m_limitsFolder.isEmpty() && !TravelLimitsStore(m_limitsFolder).save(limits, &why))
        return error(ServerError::Kind::File, why);
    m_limits = limits;
    ServerEvent changed;
    changed.kind = ServerEvent::Kind::LimitsChanged;
    changed.limits = limits;
    publish(changed);
    return std::nullopt;
}

ServerStatus CtlServeBackend::checked(LinkStatus status)
{
    if (status == LinkStatus::Ok) {
        if (m_lost) {
            m_lost = false;
            publish(ServerEvent { ServerEvent::Kind::Recovered, {}, {}, 0, 0, false, {} });
        }
        return std::nullopt;
    }
    const QString why = m_link.lastError().isEmpty() ? SerialLink::noReplyText : m_link.lastError();
    if (status == LinkStatus::TimedOut)
        return error(ServerError::Kind::Timeout, why);
    if (!m_lost) {
        m_lost = true;
        ServerEvent lost { ServerEvent::Kind::Lost, {}, why, 0, 0, false, {} };
        publish(lost);
    }
    return error(ServerError::Kind::Controller, why);
}

ProgramRequests CtlServeBackend::requests()
{
    return ProgramRequests(m_link, m_clock, [this](LinkStatus status) { return checked(status); });
}

void CtlServeBackend::hold(bool on)
{
    m_holding = on;
    publish(ServerEvent { on ? ServerEvent::Kind::Busy : ServerEvent::Kind::Idle, {}, {}, 0, 0, false, {} });
}

LinkStatus CtlServeBackend::readPosition()
{
    Position p;
    LinkStatus status = m_controller.queryPosition(&p);
    if (status == LinkStatus::Ok)
        status = m_controller.queryPosition(&p);
    if (status == LinkStatus::Ok) {
        m_last = p;
        publish(ServerEvent { ServerEvent::Kind::Position, p, {}, 0, 0, false, {} });
    }
    return status;
}

ServerStatus CtlServeBackend::position(Position* microsteps)
{
    Position p;
    const ServerStatus s = checked(m_controller.queryPosition(&p));
    if (!s) {
        m_last = p;
        *microsteps = p;
    }
    return s;
}

ServerStatus CtlServeBackend::move(const Position& target, Position* reached)
{
    if (const auto breach = m_limits.breach(target.x, target.y, target.z))
        return error(ServerError::Kind::Travel, QString::fromStdString(TravelLimits::refusalText(*breach)));
    hold(true);
    LinkStatus status = m_controller.move(target, m_moveFlag, m_moveTimeoutMs);
    if (status == LinkStatus::TimedOut)
        m_controller.interrupt(); // the move must not go on unattended
    // Ended or stopped: after 100 ms the position is read twice.
    if (status == LinkStatus::Ok) {
        m_clock.sleepMs(SerialLink::settleMs);
        status = readPosition();
    }
    hold(false);
    if (const ServerStatus s = checked(status))
        return s;
    *reached = m_last;
    return std::nullopt;
}

ServerStatus CtlServeBackend::stop()
{
    // A run is stopped by its halt, so that the velocity is set again.
    if (m_executor || m_session)
        return halt();
    return interruptMove();
}

ServerStatus CtlServeBackend::interruptMove()
{
    const LinkStatus status = m_controller.interrupt();
    if (m_moveFlag) {
        // The move's wait ends; the move reads the position reached.
        m_moveFlag = false;
        return checked(status);
    }
    if (status != LinkStatus::Ok)
        return checked(status);
    m_clock.sleepMs(SerialLink::settleMs);
    return checked(readPosition());
}

void CtlServeBackend::publishSettings()
{
    publish(ServerEvent { ServerEvent::Kind::SettingsChanged, {}, {}, 0, m_velocity, m_high, {} });
}

ServerStatus CtlServeBackend::setVelocity(int velocity)
{
    m_velocity = velocity;
    publishSettings();
    return checked(m_controller.setVelocity(VelocityWord::encode(m_velocity, m_high)));
}

ServerStatus CtlServeBackend::setResolution(bool high)
{
    m_high = high;
    publishSettings();
    return checked(m_controller.setVelocity(VelocityWord::encode(m_velocity, m_high)));
}

ServerStatus CtlServeBackend::status(std::array<int, StatusBlock::count>* numbers)
{
    return checked(m_controller.queryStatus(numbers));
}

ServerStatus CtlServeBackend::refresh()
{
    LinkStatus status = m_controller.refreshDisplay();
    if (status == LinkStatus::Ok)
        status = readPosition();
    return checked(status);
}

ServerStatus CtlServeBackend::run(const RunRequest& request, RunResult* result)
{
    int lines = 0;
    if (!HostExecutor::countLines(request.file, &lines))
        return error(ServerError::Kind::File, CommandFile::cannotLoadText);
    // A dead controller is found now rather than after a move's time-out.
    if (const ServerStatus s = checked(m_controller.queryPosition(nullptr)))
        return s;
    PausePrompts prompts(
        request.pause == PauseAnswer::Continue ? PausePrompts::Mode::Continue : PausePrompts::Mode::Halt);
    ControllerMoves moves(m_controller, m_clock, static_cast<quint16>(m_velocity), m_moveTimeoutMs);
    moves.setTravelLimits(m_limits);
    HostExecutor executor(moves, prompts, HostExecutor::Options::commandLine());
    m_executor = &executor;
    hold(true);
    publish(ServerEvent { ServerEvent::Kind::RunStarted, {}, request.file, 0, 0, false, {} });
    const QString file = request.file;
    const HostExecutor::Outcome outcome = executor.loop([&file] { return file; }, request.loops);
    m_executor = nullptr;
    QString ended = QStringLiteral("finished");
    ServerStatus s;
    if (outcome == HostExecutor::Outcome::CannotLoad)
        s = error(ServerError::Kind::File, CommandFile::cannotLoadText);
    else if (outcome == HostExecutor::Outcome::LinkFailed)
        s = checked(LinkStatus::Failed);
    else if (outcome != HostExecutor::Outcome::Finished)
        ended = QStringLiteral("halted");
    if (!s && !moves.hasPosition())
        s = checked(moves.readPosition());
    if (!s && moves.hasPosition()) {
        m_last = moves.position();
        publish(ServerEvent { ServerEvent::Kind::Position, m_last, {}, 0, 0, false, {} });
    }
    // A line outside the travel limits ended the run: the client gets the
    // refusal as its error, after the position has been read.
    if (!s && !executor.limitRefusal().isEmpty())
        s = error(ServerError::Kind::Travel, executor.limitRefusal());
    publish(ServerEvent { ServerEvent::Kind::RunEnded, {}, s ? s->message : ended, 0, 0, false, {} });
    hold(false);
    if (s)
        return s;
    result->reached = m_last;
    result->halted = ended != QLatin1String("finished");
    return std::nullopt;
}

ServerStatus CtlServeBackend::download(const QString& file, int program, int* steps)
{
    return requests().download(file, program, VelocityWord::encode(m_velocity, m_high), m_limits, steps);
}

quint16 CtlServeBackend::startVelocityWord() const
{
    return VelocityWord::encode(m_velocity, m_high);
}

LinkStatus CtlServeBackend::getPosition()
{
    Position p;
    const LinkStatus status = m_controller.queryPosition(&p);
    if (status == LinkStatus::Ok) {
        m_last = p;
        publish(ServerEvent { ServerEvent::Kind::Position, p, {}, 0, 0, false, {} });
    }
    return status;
}

LinkStatus CtlServeBackend::restoreVelocity()
{
    return m_controller.setVelocity(VelocityWord::encode(m_velocity, false));
}

ServerStatus CtlServeBackend::execute(int program, bool relative, Position* reached)
{
    ProgramExchange exchange(m_link, m_clock);
    int count = 0;
    if (const ServerStatus s = checked(exchange.stepCount(program, &count)))
        return s;
    if (count == 0)
        return error(ServerError::Kind::Refused, ExecuteSession::emptyProgramText);
    ConsolePrompts prompts;
    m_program = program;
    ExecuteSession session(exchange, prompts, *this);
    session.setRelativeConfirmed(true); // the server has had it confirmed
    m_session = &session;
    m_exchange = &exchange;
    hold(true);
    publish(ServerEvent { ServerEvent::Kind::ProgramStarted, {}, {}, program, 0, false, {} });
    const LinkStatus status = session.execute(!relative);
    m_session = nullptr;
    m_exchange = nullptr;
    publish(ServerEvent { ServerEvent::Kind::ProgramEnded, {}, {}, program, 0, false, {} });
    hold(false);
    if (const ServerStatus s = checked(status))
        return s;
    *reached = m_last;
    return std::nullopt;
}

ServerStatus CtlServeBackend::continueRun()
{
    if (m_session && m_exchange) {
        if (m_session->running())
            return checked(m_exchange->continueRun(true));
        return std::nullopt;
    }
    // Its settle and purge would swallow the completion byte of a move.
    if (m_holding)
        return error(ServerError::Kind::Busy, QStringLiteral("The controller is busy with another operation"));
    ProgramExchange exchange(m_link, m_clock);
    return checked(exchange.continueRun(false));
}

ServerStatus CtlServeBackend::halt()
{
    if (m_executor) {
        m_executor->halt();
        return std::nullopt;
    }
    if (m_session) {
        m_session->halt();
        return std::nullopt;
    }
    // Nothing runs: a halt stops a move like Stop.
    return interruptMove();
}

ServerStatus CtlServeBackend::upload(int program, const QString& file, int* steps)
{
    return requests().upload(program, file, steps);
}

ServerStatus CtlServeBackend::programs(std::array<int, 10>* counts)
{
    return requests().programs(counts);
}

ServerStatus CtlServeBackend::reset()
{
    return checked(m_controller.reset());
}

ServerStatus CtlServeBackend::origin()
{
    if (const ServerStatus s = checked(m_controller.setOrigin()))
        return s;
    // The present position is now 0 0 0: the last position and the clients
    // follow without another exchange.
    m_last = Position {};
    publish(ServerEvent { ServerEvent::Kind::Position, m_last, {}, 0, 0, false, {} });
    return std::nullopt;
}
