#include "CtlRunner.h"

#include "Clock.h"
#include "CommandFileCheck.h"
#include "Commands.h"
#include "Controller.h"
#include "CtlHostRun.h"
#include "CtlLimits.h"
#include "CtlPrograms.h"
#include "CtlServe.h"
#include "CtlViaServer.h"
#include "JsonLine.h"
#include "MicronText.h"
#include "Microns.h"
#include "PortBindingsStore.h"
#include "PortNames.h"
#include "PortsReport.h"
#include "SerialLink.h"
#include "TraceFile.h"
#include "TracingPortDevice.h"
#include "VelocitySetup.h"
#include "VelocityWord.h"

#include <QJsonArray>

#include <memory>

namespace {
// Move's X Y Z in microsteps; false when one is no number or lies beyond the
// controller's 32-bit positions.
bool parseMove(const QStringList& words, qint64 steps[3])
{
    for (int axis = 0; axis < 3; ++axis) {
        const std::optional<qint64> value = MicronText::toMicrosteps(words[axis]);
        if (!value || !Microns::fitsController(*value))
            return false;
        steps[axis] = *value;
    }
    return true;
}

// The commands that move the manipulator, or let a server's clients move it.
bool movesManipulator(const QString& command)
{
    for (const char* name : {"move", "run", "download", "execute", "serve"}) {
        if (command == QLatin1String(name))
            return true;
    }
    return false;
}

// Where move goes in microsteps: steps, or with --relative steps from the
// present position, asked for first. Nothing when that query fails (*result
// says how) or the target lies beyond the controller's range.
std::optional<Position> moveTarget(bool relative, Controller& controller, const qint64 steps[3], LinkStatus* result)
{
    Position from;
    if (relative) {
        *result = controller.queryPosition(&from);
        if (*result != LinkStatus::Ok)
            return std::nullopt;
    }
    const qint64 target[3] = {from.x + steps[0], from.y + steps[1], from.z + steps[2]};
    for (const qint64 t : target) {
        if (!Microns::fitsController(t))
            return std::nullopt;
    }
    return Position{static_cast<qint32>(target[0]), static_cast<qint32>(target[1]), static_cast<qint32>(target[2])};
}

QString statusText(const std::array<int, StatusBlock::count>& status, bool json)
{
    if (!json)
        return StatusBlock::join(status);
    QJsonArray numbers;
    for (const int n : status)
        numbers.append(n);
    return JsonLine::of({{QStringLiteral("status"), numbers}});
}
} // namespace

CtlRunner::CtlRunner(PortDevice& port, Clock& clock, Prompts& prompts, QTextStream& out, QTextStream& err)
    : m_port(port)
    , m_clock(clock)
    , m_prompts(prompts)
    , m_out(out)
    , m_err(err)
{
}

int CtlRunner::run(const CtlOptions& o)
{
    if (o.command == QLatin1String("check")) {
        // A run refuses a line outside the travel limits; check says so too.
        TravelLimits limits;
        if (!CtlLimits::loadForMoves(o, &limits, m_err))
            return CommandFileCheck::CannotLoad;
        return CommandFileCheck::check(o.args[0], o.json, limits, m_out, m_err);
    }

    // The bindings file counts for every command that maps a port name.
    const PortBindingsStore::Loaded bindings = PortBindingsStore::load(PortBindingsStore::path(o.settings));
    for (const QString& note : PortBindingsStore::notes(bindings))
        m_err << "qx410ctl: " << note << "\n";
    if (o.command == QLatin1String("ports")) {
        PortsReport::print(m_out, o.json, bindings.bindings, SerialDevices::scan());
        m_out.flush();
        return Done;
    }

    // A server that holds the port carries the command out, with the
    // travel limits in force there; the port itself is its alone.
    const QString socket =
        o.noServer ? QString() : CtlViaServer::liveSocket(PortNames::resolve(o.port, bindings.bindings).device);
    // limits needs no port: the file itself when no server holds the port.
    if (o.command == QLatin1String("limits"))
        return socket.isEmpty() ? CtlLimits(m_out, m_err).run(o) : CtlViaServer(m_out, m_err).run(o, socket, nullptr, 0);
    // Commands that move the manipulator keep the limits of the file; they
    // do not go on without limits the operator set but that cannot be read.
    TravelLimits limits;
    if (socket.isEmpty() && movesManipulator(o.command) && !CtlLimits::loadForMoves(o, &limits, m_err))
        return FileFailure;

    // Arguments are checked before the port is touched.
    CtlPrograms programs(m_clock, m_prompts, m_out, m_err);
    programs.setTravelLimits(limits);
    if (CtlPrograms::handles(o.command)) {
        const int early = programs.prepare(o);
        if (early >= 0)
            return early;
    }
    CtlHostRun hostRun(m_clock, m_out, m_err);
    hostRun.setTravelLimits(limits);
    if (o.command == QLatin1String("run") && !hostRun.checkFile(o))
        return FileFailure;
    // move: the target, or with --relative the offset, in microsteps.
    qint64 steps[3] = {};
    int velocity = 0;
    if (o.command == QLatin1String("move")) {
        if (!parseMove(o.args, steps)) {
            m_err << "qx410ctl: move: X Y Z must be micrometres between " << MicronText::controllerRangeText()
                  << "\n";
            return Usage;
        }
    } else if (o.command == QLatin1String("velocity")) {
        // CtlOptions::parse has checked the entry by the Velocity dialog's rules.
        velocity = VelocitySetup::parseEntry(o.args[0]).value_or(0);
    }

    if (!socket.isEmpty()) {
        if (CtlViaServer::handles(o.command))
            return CtlViaServer(m_out, m_err).run(o, socket, steps, velocity);
        if (o.command == QLatin1String("serve")) {
            m_err << "qx410ctl: serve: another server already serves this device on " << socket << "\n";
            return PortFailure;
        }
        m_err << "qx410ctl: " << o.command << ": " << o.port << " is held by a server (" << socket
              << "), through which " << o.command << " does not go\n";
        return PortFailure;
    }

    SerialSettings settings;
    settings.portName = o.port;
    settings.baudText = QString::number(o.baud);
    settings.framing = settings.baudText + QStringLiteral(",N,8,1");
    settings.portBindings = bindings.bindings;

    TracingPortDevice traced(m_port, m_clock);
    std::unique_ptr<TraceFile> trace;
    if (!o.trace.isEmpty()) {
        trace = std::make_unique<TraceFile>(o.trace);
        if (!trace->isOpen()) {
            m_err << "qx410ctl: cannot write the trace file " << o.trace << ": " << trace->errorText() << "\n";
            return FileFailure;
        }
        traced.addObserver(trace.get());
    }
    SerialLink link(traced, m_clock, m_prompts, settings);
    link.setRecoveryEnabled(false);

    const SerialLink::OpenResult opened = link.open();
    if (opened != SerialLink::OpenResult::Opened) {
        const bool cannotOpen = opened == SerialLink::OpenResult::CannotOpen;
        m_err << "qx410ctl: " << (cannotOpen ? SerialLink::cannotOpenText : SerialLink::cannotSetText) << " ("
              << o.port;
        if (link.device() != o.port)
            m_err << " = " << link.device();
        if (cannotOpen)
            m_err << ": " << link.lastError();
        else
            m_err << ", " << settings.framing;
        m_err << ")\n";
        return PortFailure;
    }

    Controller controller(link);
    if (o.command == QLatin1String("serve")) {
        const int status = CtlServe(m_out, m_err).run(o, link, m_clock, limits);
        link.close();
        return status;
    }
    if (o.command == QLatin1String("run")) {
        const int status = hostRun.run(o, link, controller, traced);
        link.close();
        m_out.flush();
        return status;
    }
    Position position;
    std::array<int, StatusBlock::count> status{};
    LinkStatus result = LinkStatus::Ok;

    if (o.command == QLatin1String("position")) {
        result = controller.queryPosition(&position);
        if (result == LinkStatus::Ok)
            m_out << JsonLine::microstepsLine(position, o.high, o.json) << "\n";
    } else if (o.command == QLatin1String("move")) {
        const std::optional<Position> target = moveTarget(o.relative, controller, steps, &result);
        if (result == LinkStatus::Ok && !target) {
            link.close();
            m_err << "qx410ctl: move: the target lies beyond the controller's range (micrometres between "
                  << MicronText::controllerRangeText() << "); nothing was sent\n";
            return Usage;
        }
        // Outside the travel limits: refused as a target beyond the
        // controller's range is, before it is sent.
        if (const auto breach = target ? limits.breach(target->x, target->y, target->z) : std::nullopt) {
            link.close();
            m_err << "qx410ctl: move: " << QString::fromStdString(TravelLimits::refusalText(*breach)) << "\n";
            return Usage;
        }
        bool busy = true;
        if (target) {
            result = controller.move(*target, busy, o.moveTimeoutMs);
            if (result == LinkStatus::TimedOut)
                controller.interrupt();
        }
        if (result == LinkStatus::Ok) {
            m_clock.sleepMs(SerialLink::settleMs);
            result = controller.queryPosition(&position);
        }
        if (result == LinkStatus::Ok)
            result = controller.queryPosition(&position);
        if (result == LinkStatus::Ok)
            m_out << JsonLine::microstepsLine(position, o.high, o.json) << "\n";
    } else if (o.command == QLatin1String("velocity")) {
        result = controller.setVelocity(VelocityWord::encode(velocity, o.high));
    } else if (o.command == QLatin1String("stop")) {
        result = controller.interrupt();
    } else if (o.command == QLatin1String("reset")) {
        result = controller.reset();
    } else if (o.command == QLatin1String("origin")) {
        result = controller.setOrigin();
    } else if (o.command == QLatin1String("refresh")) {
        result = controller.refreshDisplay();
    } else if (CtlPrograms::handles(o.command)) {
        result = programs.run(o, link, traced);
    } else if (o.command == QLatin1String("status")) {
        result = controller.queryStatus(&status);
        if (result == LinkStatus::Ok)
            m_out << statusText(status, o.json) << "\n";
    }
    link.close();
    m_out.flush();

    if (result == LinkStatus::Ok)
        return CtlPrograms::handles(o.command) ? programs.exitStatus() : Done;
    if (result == LinkStatus::BadAnswer) {
        m_err << "qx410ctl: " << o.command << ": " << link.lastError() << "\n";
        return NoAnswer;
    }
    if (link.deviceFailed()) {
        m_err << "qx410ctl: " << o.command << ": " << link.lastError();
        if (link.device() != o.port)
            m_err << " (" << o.port << ")";
        m_err << "\n";
        return NoAnswer;
    }
    m_err << "qx410ctl: " << o.command << ": no answer from the controller on " << o.port;
    if (link.device() != o.port)
        m_err << " (" << link.device() << ")";
    m_err << ": " << link.lastError() << "\n";
    return NoAnswer;
}
