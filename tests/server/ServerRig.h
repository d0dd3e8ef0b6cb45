#pragma once

// The local server against the in-process simulated controller on the
// virtual clock, with clients on real local sockets in this process.

#include "ControlServer.h"
#include "Controller.h"
#include "CtlServeBackend.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SerialSettings.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

// Serves events until done() or a safety limit of wall time (nothing in
// these tests needs more than a few milliseconds of it).
inline bool pumpUntil(const std::function<bool()>& done, int limitMs = 10000)
{
    QTimer wake;
    wake.start(5);
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

struct RpcClient {
    QLocalSocket socket;

    bool connectTo(const QString& path)
    {
        socket.connectToServer(path);
        return socket.waitForConnected(2000);
    }
    void send(const QByteArray& line)
    {
        socket.write(line + '\n');
        socket.flush();
    }
    void call(const char* method, const QJsonObject& params = {}, int id = 1)
    {
        send(QJsonDocument(
            QJsonObject { { QStringLiteral("jsonrpc"), QStringLiteral("2.0") }, { QStringLiteral("id"), id },
                { QStringLiteral("method"), QLatin1String(method) }, { QStringLiteral("params"), params } })
                 .toJson(QJsonDocument::Compact));
    }
    // The next message; empty when none came or the server closed.
    QJsonObject next()
    {
        pumpUntil([this] { return socket.canReadLine() || socket.state() == QLocalSocket::UnconnectedState; });
        if (!socket.canReadLine())
            return {};
        return QJsonDocument::fromJson(socket.readLine()).object();
    }
    // The next reply, events skipped.
    QJsonObject reply()
    {
        for (;;) {
            const QJsonObject m = next();
            if (m.isEmpty() || m.contains(QStringLiteral("id")))
                return m;
        }
    }
    QJsonObject request(const char* method, const QJsonObject& params = {})
    {
        call(method, params);
        return reply();
    }
};

inline int errorCode(const QJsonObject& reply)
{
    return reply.value(QStringLiteral("error")).toObject().value(QStringLiteral("code")).toInt();
}

inline QJsonObject resultOf(const QJsonObject& reply)
{
    return reply.value(QStringLiteral("result")).toObject();
}

struct ServerRig {
    explicit ServerRig(const ControlServer::Limits& limits = {}, qx410sim::Faults faults = {})
        : simulator(faults)
        , port(simulator, clock)
        , link(port, clock, prompts, settings)
        , controller(link)
        , backend(link, controller, clock, 1000, false, -1)
        , server(backend, QStringLiteral("qx410ctl"), QStringLiteral("test"))
    {
        settings.portName = QStringLiteral("/dev/ttySIM");
        settings.framing = QStringLiteral("9600,N,8,1");
        link.setRecoveryEnabled(false);
        link.open();
        // A move's wait serves the clients and lets the controller's time run on.
        backend.setWait([this] {
            QCoreApplication::processEvents();
            port.waitForData(5);
        });
        server.setLimits(limits);
        path = dir.path() + QStringLiteral("/qx410/sim.sock");
        listening = server.listen(path, &why);
    }

    std::unique_ptr<RpcClient> client()
    {
        auto c = std::make_unique<RpcClient>();
        c->connectTo(path);
        pumpUntil([this, n = server.clientCount()] { return server.clientCount() > n; }, 2000);
        return c;
    }

    QTemporaryDir dir;
    qx410sim::SimController simulator;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings settings;
    SerialLink link;
    Controller controller;
    CtlServeBackend backend;
    ControlServer server;
    QString path;
    QString why;
    bool listening = false;
};
