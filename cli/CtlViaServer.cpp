#include "CtlViaServer.h"

#include "CtlLimits.h"
#include "RpcMethods.h"
#include "CtlPrograms.h"
#include "EnterPresses.h"
#include "JsonLine.h"
#include "RunSignals.h"
#include "SocketPath.h"
#include "StatusBlock.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>

#include <cmath>

namespace {
constexpr int kConnectMs = 1000;

int exitStatusFor(const QString& kind, const QString& command)
{
    // A run that reached a line outside the travel limits was halted there.
    if (kind == QLatin1String("travel"))
        return command == QLatin1String("run") ? CtlViaServer::Halted : CtlViaServer::Refused;
    if (kind == QLatin1String("range") || kind == QLatin1String("refused"))
        return CtlViaServer::Refused;
    if (kind == QLatin1String("file"))
        return CtlViaServer::FileFailure;
    return CtlViaServer::NoAnswer; // busy, timeout, controller, limit
}

qint32 microsteps(const QJsonValue& microns)
{
    return static_cast<qint32>(std::lround(microns.toDouble() * 25.0));
}
} // namespace

bool CtlViaServer::handles(const QString& command)
{
    for (const char* name :
        { "position", "move", "velocity", "stop", "refresh", "status", "continue", "programs", "download", "upload",
            "run", "execute", "reset", "origin", "limits" }) {
        if (command == QLatin1String(name))
            return true;
    }
    return false;
}

QString CtlViaServer::liveSocket(const QString& device)
{
    const QString path = SocketPath::forDevice(device);
    if (!QFileInfo::exists(path))
        return QString();
    QLocalSocket probe;
    probe.connectToServer(path);
    if (!probe.waitForConnected(kConnectMs))
        return QString();
    probe.abort();
    return path;
}

CtlViaServer::CtlViaServer(QTextStream& out, QTextStream& err)
    : m_out(out)
    , m_err(err)
{
}

void CtlViaServer::notify(const char* method)
{
    const QJsonObject request { { QStringLiteral("jsonrpc"), QStringLiteral("2.0") },
        { QStringLiteral("method"), QLatin1String(method) }, { QStringLiteral("params"), QJsonObject() } };
    m_socket->write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    m_socket->flush();
}

std::optional<QJsonObject> CtlViaServer::call(
    const char* method, const QJsonObject& params, int* status, const std::function<void()>& watch)
{
    const int id = m_nextId++;
    const QJsonObject request { { QStringLiteral("jsonrpc"), QStringLiteral("2.0") }, { QStringLiteral("id"), id },
        { QStringLiteral("method"), QLatin1String(method) }, { QStringLiteral("params"), params } };
    m_socket->write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    m_socket->flush();
    for (;;) {
        // A move may take long: the server answers when it has ended.
        while (!m_socket->canReadLine()) {
            if (watch && m_socket->state() == QLocalSocket::ConnectedState
                && !m_socket->waitForReadyRead(RunSignals::pollMs)) {
                watch();
                continue;
            }
            if (m_socket->state() != QLocalSocket::ConnectedState
                || (!watch && !m_socket->waitForReadyRead(-1))) {
                if (m_socket->canReadLine())
                    break;
                m_err << "qx410ctl: " << m_command << ": the server closed the connection\n";
                *status = NoAnswer;
                return std::nullopt;
            }
        }
        const QJsonObject reply = QJsonDocument::fromJson(m_socket->readLine()).object();
        if (reply.value(QStringLiteral("id")).toInt() != id)
            continue; // an event
        if (!reply.contains(QStringLiteral("error")))
            return reply.value(QStringLiteral("result")).toObject();
        const QJsonObject error = reply.value(QStringLiteral("error")).toObject();
        m_err << "qx410ctl: " << m_command << ": " << error.value(QStringLiteral("message")).toString() << "\n";
        *status
            = exitStatusFor(error.value(QStringLiteral("data")).toObject().value(QStringLiteral("kind")).toString(),
                m_command);
        return std::nullopt;
    }
}

QString CtlViaServer::positionLine(const QJsonObject& result, bool hundredths, bool json) const
{
    const QJsonObject p = result.value(QStringLiteral("position")).toObject();
    const Position steps { microsteps(p.value(QStringLiteral("x"))), microsteps(p.value(QStringLiteral("y"))),
        microsteps(p.value(QStringLiteral("z"))) };
    return JsonLine::microstepsLine(steps, hundredths, json);
}

bool CtlViaServer::serverAtHighResolution()
{
    // Asking for the setting always goes through, even during a move.
    int ignored = Done;
    const auto r = call("resolution", {}, &ignored);
    return r && r->value(QStringLiteral("resolution")).toString() == QLatin1String("high");
}

int CtlViaServer::run(const CtlOptions& o, const QString& socketPath, const qint64 steps[3], int velocity)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    m_command = o.command;
    if (!socket.waitForConnected(kConnectMs)) {
        m_err << "qx410ctl: " << o.command << ": cannot reach the server on " << socketPath << ": "
              << socket.errorString() << "\n";
        return NotServed;
    }
    m_socket = &socket;
    int status = Done;
    const QString& c = o.command;
    if (c == QLatin1String("position") || c == QLatin1String("move")) {
        const bool hundredths = o.high || serverAtHighResolution();
        // Whole microsteps in micrometres: the server's rounding keeps them as
        // they are, so a relative move rounds its offset here as it does on
        // the port itself.
        QJsonObject params;
        if (c == QLatin1String("move")) {
            params = { { QStringLiteral("x"), steps[0] / 25.0 }, { QStringLiteral("y"), steps[1] / 25.0 },
                { QStringLiteral("z"), steps[2] / 25.0 } };
            if (o.relative)
                params.insert(QStringLiteral("relative"), true);
        }
        if (const auto r = call(c == QLatin1String("move") ? "move" : "position", params, &status))
            m_out << positionLine(*r, hundredths, o.json) << "\n";
    } else if (c == QLatin1String("velocity")) {
        // The velocity word V at the resolution asked for: the order keeps
        // the 1310 rule of high resolution on the way.
        const QJsonObject v { { QStringLiteral("velocity"), velocity } };
        const QJsonObject r { { QStringLiteral("resolution"),
            o.high ? QStringLiteral("high") : QStringLiteral("low") } };
        if (o.high) {
            if (call("velocity", v, &status))
                call("resolution", r, &status);
        } else if (call("resolution", r, &status)) {
            call("velocity", v, &status);
        }
    } else if (c == QLatin1String("status")) {
        if (const auto r = call("status", {}, &status)) {
            const QJsonArray numbers = r->value(QStringLiteral("status")).toArray();
            if (o.json) {
                m_out << JsonLine::of({ { QStringLiteral("status"), numbers } }) << "\n";
            } else {
                std::array<int, StatusBlock::count> block {};
                for (std::size_t i = 0; i < block.size(); ++i)
                    block[i] = numbers.at(static_cast<int>(i)).toInt();
                m_out << StatusBlock::join(block) << "\n";
            }
        }
    } else if (c == QLatin1String("programs")) {
        if (const auto r = call("programs", {}, &status)) {
            const QJsonArray steps = r->value(QStringLiteral("programs")).toArray();
            for (int n = 1; n <= steps.size(); ++n) {
                const int count = steps.at(n - 1).toInt();
                if (o.json)
                    m_out << JsonLine::of({ { QStringLiteral("program"), n }, { QStringLiteral("steps"), count } })
                          << "\n";
                else
                    m_out << n << " " << count << "\n";
            }
        }
    } else if (c == QLatin1String("download") || c == QLatin1String("upload")) {
        const bool download = c == QLatin1String("download");
        // The server may run in another folder.
        const QString file = QFileInfo(o.args[download ? 0 : 1]).absoluteFilePath();
        const int program = o.args[download ? 1 : 0].toInt();
        const QJsonObject params { { QStringLiteral("file"), file }, { QStringLiteral("program"), program } };
        if (const auto r = call(download ? "download" : "upload", params, &status))
            m_out << r->value(QStringLiteral("steps")).toInt() << "\n";
    } else if (c == QLatin1String("limits")) {
        status = limits(o);
    } else if (c == QLatin1String("run") || c == QLatin1String("execute")) {
        status = runAwaited(o, socketPath);
    } else {
        // stop, refresh, continue, reset, origin
        call(c.toLatin1().constData(), {}, &status);
    }
    m_out.flush();
    socket.disconnectFromServer();
    return status;
}

int CtlViaServer::runAwaited(const CtlOptions& o, const QString& socketPath)
{
    const bool run = o.command == QLatin1String("run");
    RunSignals interrupts; // until the run has ended
    QJsonObject params;
    if (run) {
        // A Pause line's question cannot reach this terminal from the server.
        if (o.pause == QLatin1String("ask")) {
            m_err << "qx410ctl: run: --pause ask cannot be answered through the server on " << socketPath
                  << "; give --pause continue or --pause halt\n";
            return Refused;
        }
        // The server may run in another folder.
        params.insert(QStringLiteral("file"), QFileInfo(o.args[0]).absoluteFilePath());
        params.insert(QStringLiteral("loop"), o.loops);
        params.insert(QStringLiteral("pause"), o.pause.isEmpty() ? QStringLiteral("halt") : o.pause);
        m_err << "qx410ctl: run: " << o.args[0] << " runs through the server, which reports no line by line "
              << "progress; Ctrl+C halts it\n";
    } else {
        const int program = o.args[0].toInt();
        params.insert(QStringLiteral("program"), program);
        params.insert(QStringLiteral("relative"), o.relative);
        if (o.relative) {
            // The server's limits: asked about here, where someone may sit.
            int status = Done;
            const auto limits = call("limits", {}, &status);
            if (!limits)
                return status;
            if (!CtlPrograms::relativeRunAllowed(o, RpcMethods::limitsFromObject(limits->value(QStringLiteral("limits")).toObject()),
                    program, EnterPresses::terminalInput() >= 0, m_err))
                return Refused;
            params.insert(QStringLiteral("confirm"), true);
        }
    }
    EnterPresses enter(run ? -1 : EnterPresses::terminalInput());
    if (enter.watching())
        m_err << "qx410ctl: program " << o.args[0].toInt()
              << " runs; Enter lets it go on past a pause step, Ctrl+C halts it\n";
    m_err.flush();

    bool halted = false;
    const auto watch = [&] {
        if (RunSignals::raised()) {
            if (!halted) {
                halted = true;
                notify("halt");
            }
            return;
        }
        if (enter.take() > 0) {
            m_err << "qx410ctl: continue\n";
            m_err.flush();
            notify("continue");
        }
    };
    int status = Done;
    const auto result = call(run ? "run" : "execute", params, &status, watch);
    if (result)
        m_out << positionLine(*result, false, o.json) << "\n";
    if (RunSignals::raised())
        return Interrupted;
    if (result && result->value(QStringLiteral("halted")).toBool())
        return Halted;
    return status;
}

int CtlViaServer::limits(const CtlOptions& o)
{
    QJsonObject params;
    if (!o.args.isEmpty()) {
        QString why;
        const std::optional<CtlLimits::Change> change = CtlLimits::parseChange(o.args, &why);
        if (!change) {
            m_err << "qx410ctl: " << why << "\n";
            return Refused;
        }
        params = { { QStringLiteral("axis"), QString(QLatin1Char(TravelLimits::axisLetter(change->axis))) },
            { QStringLiteral("lower"), RpcMethods::limitValue(change->range.lower) },
            { QStringLiteral("upper"), RpcMethods::limitValue(change->range.upper) } };
    }
    int status = Done;
    if (const auto r = call("limits", params, &status))
        CtlLimits::print(RpcMethods::limitsFromObject(r->value(QStringLiteral("limits")).toObject()), o.json, m_out);
    return status;
}
