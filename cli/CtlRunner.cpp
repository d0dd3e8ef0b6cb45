#include "CtlRunner.h"

#include "Clock.h"
#include "CommandFile.h"
#include "CommandFileCheck.h"
#include "Commands.h"
#include "Controller.h"
#include "CtlHostRun.h"
#include "SerialLink.h"
#include "Units.h"
#include "VelocityWord.h"

#include <limits>

namespace {
constexpr int kMaxHighVelocity = 1310;
constexpr int kMaxVelocity = 0x7FFF;
// The largest distance in micrometres whose microstep count fits in 32 bits.
constexpr qint64 kMaxMicrons = std::numeric_limits<qint32>::max() / 25;

bool parseMicrons(const QString& text, qint32* value)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v > kMaxMicrons || v < -kMaxMicrons)
        return false;
    *value = static_cast<qint32>(v);
    return true;
}

QString positionText(const Position& microsteps)
{
    const Position um = Units::microstepsToMicrons(microsteps);
    return QStringLiteral("%1 %2 %3").arg(um.x).arg(um.y).arg(um.z);
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
        if (!CommandFileCheck::print(o.args[0], m_out)) {
            m_err << "qx410ctl: " << CommandFile::cannotLoadText << " (" << o.args[0] << ")\n";
            return FileFailure;
        }
        m_out.flush();
        return Done;
    }

    // Arguments are checked before the port is touched.
    CtlHostRun hostRun(m_clock, m_out, m_err);
    if (o.command == QLatin1String("run") && !hostRun.checkFile(o))
        return FileFailure;
    Position target;
    int velocity = 0;
    if (o.command == QLatin1String("move")) {
        if (!parseMicrons(o.args[0], &target.x) || !parseMicrons(o.args[1], &target.y)
            || !parseMicrons(o.args[2], &target.z)) {
            m_err << "qx410ctl: move: X Y Z must be whole micrometres between " << -kMaxMicrons << " and "
                  << kMaxMicrons << "\n";
            return Usage;
        }
    } else if (o.command == QLatin1String("velocity")) {
        bool ok = false;
        velocity = o.args[0].toInt(&ok);
        if (!ok || velocity < 0 || velocity > kMaxVelocity) {
            m_err << "qx410ctl: velocity: V must be a whole number of um/s from 0 to " << kMaxVelocity << "\n";
            return Usage;
        }
        if (o.high && velocity > kMaxHighVelocity) {
            m_err << "qx410ctl: velocity: Velocity must be less than 1310 in high resolution mode\n";
            return Usage;
        }
    }

    SerialSettings settings;
    settings.portName = o.port;
    settings.baudText = QString::number(o.baud);
    settings.framing = settings.baudText + QStringLiteral(",N,8,1");
    SerialLink link(m_port, m_clock, m_prompts, settings);
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
    if (o.command == QLatin1String("run")) {
        const int status = hostRun.run(o, link, controller, m_port);
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
            m_out << positionText(position) << "\n";
    } else if (o.command == QLatin1String("move")) {
        bool busy = true;
        result = controller.move(Units::micronsToMicrosteps(target), busy, o.moveTimeoutMs);
        if (result == LinkStatus::TimedOut)
            controller.interrupt();
        if (result == LinkStatus::Ok) {
            m_clock.sleepMs(SerialLink::settleMs);
            result = controller.queryPosition(&position);
        }
        if (result == LinkStatus::Ok)
            result = controller.queryPosition(&position);
        if (result == LinkStatus::Ok)
            m_out << positionText(position) << "\n";
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
    } else if (o.command == QLatin1String("status")) {
        result = controller.queryStatus(&status);
        if (result == LinkStatus::Ok)
            m_out << StatusBlock::join(status) << "\n";
    }
    link.close();
    m_out.flush();

    if (result == LinkStatus::Ok)
        return Done;
    m_err << "qx410ctl: " << o.command << ": no answer from the controller on " << o.port;
    if (link.device() != o.port)
        m_err << " (" << link.device() << ")";
    m_err << ": " << link.lastError() << "\n";
    return NoAnswer;
}
