#pragma once

// A client of the local server for tests: JSON-RPC lines over a real local
// socket in the test's own process, served while it waits.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QTimer>

#include <functional>

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

