#include "CtlHostRun.h"

#include "CommandFile.h"
#include "Controller.h"
#include "ControllerMoves.h"
#include "HostExecutor.h"
#include "JsonLine.h"
#include "PausePrompts.h"
#include "PortDevice.h"
#include "RunSignals.h"
#include "SerialLink.h"
#include "Units.h"

namespace {

PausePrompts::Mode pauseMode(const QString& text)
{
    if (text == QLatin1String("ask"))
        return PausePrompts::Mode::Ask;
    if (text == QLatin1String("continue"))
        return PausePrompts::Mode::Continue;
    if (text == QLatin1String("halt"))
        return PausePrompts::Mode::Halt;
    return PausePrompts::defaultMode();
}
} // namespace

CtlHostRun::CtlHostRun(Clock& clock, QTextStream& out, QTextStream& err)
    : m_clock(clock)
    , m_out(out)
    , m_err(err)
{
}

QString CtlHostRun::describe(const HostCommand& c)
{
    const QString name = QString::fromLatin1(HostCommand::name(c.kind).data(),
                                             static_cast<int>(HostCommand::name(c.kind).size()));
    switch (c.kind) {
    case HostCommand::Kind::Move:
        return QStringLiteral("%1 %2 %3 %4").arg(name).arg(c.x).arg(c.y).arg(c.z);
    case HostCommand::Kind::High:
    case HostCommand::Kind::Low:
        return QStringLiteral("%1 %2").arg(name).arg(c.v);
    case HostCommand::Kind::Pause:
    case HostCommand::Kind::Other:
        break;
    }
    return name;
}

int CtlHostRun::noAnswer(const CtlOptions& o, SerialLink& link)
{
    m_err << "qx410ctl: run: no answer from the controller on " << o.port;
    if (link.device() != o.port)
        m_err << " (" << link.device() << ")";
    m_err << ": " << link.lastError() << "\n";
    return NoAnswer;
}

bool CtlHostRun::checkFile(const CtlOptions& o)
{
    if (HostExecutor::countLines(o.args[0], &m_lineCount))
        return true;
    m_err << "qx410ctl: " << CommandFile::cannotLoadText << " (" << o.args[0] << ")\n";
    return false;
}

int CtlHostRun::run(const CtlOptions& o, SerialLink& link, Controller& controller, PortDevice& linkPort)
{
    // A controller that is off or not connected answers no position query
    // within the reply watch; found now, before the first line, rather than
    // after a move's whole --timeout.
    if (controller.queryPosition(nullptr) != LinkStatus::Ok)
        return noAnswer(o, link);

    PausePrompts prompts(pauseMode(o.pause));
    ControllerMoves moves(controller, m_clock, static_cast<quint16>(o.velocitySetting), o.moveTimeoutMs);
    moves.setTravelLimits(m_limits);
    RunSignals interrupts; // until the run has ended
    moves.setHaltRequest([] { return RunSignals::raised(); });

    HostExecutor::Options options = HostExecutor::Options::commandLine();
    options.onLine = [this](int number, const HostCommand& command) {
        m_err << "line " << number << "/" << m_lineCount << ": " << describe(command) << "\n";
        m_err.flush();
    };
    HostExecutor executor(moves, prompts, options);

    // A move's wait looks for a signal every few tens of milliseconds; a
    // signal then halts the move at once.
    link.setMessagePump([&linkPort, &executor, &moves] {
        linkPort.waitForData(RunSignals::pollMs);
        if (RunSignals::raised() && moves.busy())
            executor.halt();
        return true;
    });
    const QString file = o.args[0];
    const HostExecutor::Outcome outcome = executor.loop([&file] { return file; }, o.loops);
    link.setMessagePump(nullptr);

    if (outcome == HostExecutor::Outcome::LinkFailed)
        return noAnswer(o, link);
    // The final position: read after the last move, or now when no move was made.
    if (moves.hasPosition() || moves.readPosition() == LinkStatus::Ok) {
        const Position um = Units::microstepsToMicrons(moves.position());
        m_out << JsonLine::positionLine(um, o.json) << "\n";
        m_out.flush();
    }
    if (RunSignals::raised())
        return Interrupted;
    switch (outcome) {
    case HostExecutor::Outcome::Finished:
        return Done;
    case HostExecutor::Outcome::CannotLoad:
        return FileFailure;
    case HostExecutor::Outcome::Halted:
    case HostExecutor::Outcome::Abandoned:
    case HostExecutor::Outcome::Refused:
        return Halted;
    case HostExecutor::Outcome::LinkFailed:
        break;
    }
    return NoAnswer;
}
