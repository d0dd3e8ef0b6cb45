#include "ControlServer.h"

#include "SocketPath.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QMetaObject>

namespace {
constexpr int kLiveCheckMs = 1000;
}

ControlServer::ControlServer(
    ServerBackend& backend, const QString& program, const QString& programVersion, QObject* parent)
    : QObject(parent)
    , m_backend(backend)
    , m_methods(backend, program, programVersion)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.setMaxPendingConnections(8);
    connect(&m_server, &QLocalServer::newConnection, this, &ControlServer::accept);
    m_backend.setEventSink([this](const ServerEvent& event) { publish(event); });
}

ControlServer::~ControlServer()
{
    m_backend.setEventSink(nullptr);
    close();
}

bool ControlServer::listen(const QString& path, QString* error)
{
    if (!SocketPath::prepareFolder(QFileInfo(path).absolutePath(), error))
        return false;
    if (QFileInfo::exists(path)) {
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(kLiveCheckMs)) {
            probe.abort();
            *error = QStringLiteral("another server already serves this device on %1").arg(path);
            return false;
        }
        // Nobody answers: a socket left behind by a server that ended
        // without removing it.
        QLocalServer::removeServer(path);
    }
    if (!m_server.listen(path)) {
        *error = QStringLiteral("cannot listen on %1: %2").arg(path, m_server.errorString());
        return false;
    }
    m_path = path;
    return true;
}

void ControlServer::close()
{
    const QList<QLocalSocket*> sockets = m_clients.keys();
    for (QLocalSocket* socket : sockets) {
        socket->flush(); // the last replies (a move ended by the shutdown) go out
        drop(socket);
    }
    if (m_server.isListening())
        m_server.close(); // removes the socket file
    m_path.clear();
}

void ControlServer::accept()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        if (m_clients.size() >= m_limits.maxClients) {
            socket->write(RpcProtocol::error(QJsonValue(), RpcProtocol::limitError,
                QStringLiteral("Too many clients: at most %1").arg(m_limits.maxClients), QStringLiteral("limit")));
            socket->disconnectFromServer();
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->state() == QLocalSocket::UnconnectedState)
                socket->deleteLater();
            continue;
        }
        m_clients.insert(socket, Client());
        emit clientCountChanged(clientCount());
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { schedule(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { drop(socket); });
        if (socket->bytesAvailable() > 0)
            schedule(socket);
    }
}

void ControlServer::schedule(QLocalSocket* socket)
{
    // Requests are served from the event loop rather than inside readyRead,
    // so that a request that waits on the controller does not keep this
    // client's next lines (a stop) from being read.
    auto it = m_clients.find(socket);
    if (it == m_clients.end() || it->scheduled)
        return;
    it->scheduled = true;
    QMetaObject::invokeMethod(
        this, [this, guarded = QPointer<QLocalSocket>(socket)] { serve(guarded); }, Qt::QueuedConnection);
}

void ControlServer::dropForLongLine(QPointer<QLocalSocket> socket)
{
    send(socket,
        RpcProtocol::error(QJsonValue(), RpcProtocol::limitError,
            QStringLiteral("Line longer than %1 bytes").arg(m_limits.maxLine), QStringLiteral("limit")));
    if (socket)
        drop(socket, true);
}

void ControlServer::serve(QPointer<QLocalSocket> socket)
{
    if (!socket || !m_clients.contains(socket))
        return;
    m_clients[socket].scheduled = false;
    while (socket && m_clients.contains(socket)) {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > m_limits.maxLine)
                dropForLongLine(socket);
            return;
        }
        QByteArray line = socket->readLine(m_limits.maxLine + 2);
        if (!line.endsWith('\n')) {
            // readLine stopped at the limit: the line is longer.
            dropForLongLine(socket);
            return;
        }
        line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        handleLine(socket, line);
    }
}

void ControlServer::handleLine(QLocalSocket* socket, const QByteArray& line)
{
    const QPointer<QLocalSocket> guarded(socket);
    const RpcProtocol::Parsed parsed = RpcProtocol::parse(line);
    if (!parsed.ok) {
        send(socket, parsed.errorReply);
        return;
    }
    const RpcProtocol::Request& request = parsed.request;
    if (request.method == QLatin1String("subscribe")) {
        const QJsonValue on = request.params.value(QStringLiteral("events"));
        if (!on.isUndefined() && !on.isBool()) {
            send(socket,
                RpcProtocol::error(request.id, RpcProtocol::invalidParams,
                    QStringLiteral("Invalid params: \"events\" must be true or false")));
            return;
        }
        if (request.params.size() > (on.isUndefined() ? 0 : 1)) {
            send(socket,
                RpcProtocol::error(request.id, RpcProtocol::invalidParams,
                    QStringLiteral("Invalid params: subscribe takes \"events\" only")));
            return;
        }
        m_clients[socket].subscribed = on.toBool(true);
        if (!request.id.isUndefined())
            send(
                socket, RpcProtocol::result(request.id, QJsonObject { { QStringLiteral("events"), on.toBool(true) } }));
        return;
    }
    // The call may wait on the controller and pump events: this client may
    // be gone when it returns.
    const QByteArray reply = m_methods.call(request);
    if (guarded && m_clients.contains(guarded) && !reply.isEmpty())
        send(guarded, reply);
}

bool ControlServer::send(QLocalSocket* socket, const QByteArray& line)
{
    socket->write(line);
    if (socket->bytesToWrite() > m_limits.maxUnsent) {
        // A client that does not read its replies must not hold the
        // others up, nor fill this process's memory.
        drop(socket);
        return false;
    }
    return true;
}

void ControlServer::drop(QLocalSocket* socket, bool afterReplies)
{
    if (!m_clients.remove(socket))
        return;
    emit clientCountChanged(clientCount());
    socket->disconnect(this);
    if (afterReplies && socket->state() == QLocalSocket::ConnectedState) {
        // The error reply goes out first; the socket goes once it is closed.
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromServer();
        return;
    }
    if (socket->state() != QLocalSocket::UnconnectedState)
        socket->abort();
    socket->deleteLater();
}

void ControlServer::publish(const ServerEvent& event)
{
    const QByteArray line = RpcProtocol::notification(QStringLiteral("event"), RpcMethods::eventParams(event));
    const QList<QLocalSocket*> sockets = m_clients.keys();
    for (QLocalSocket* socket : sockets) {
        const auto it = m_clients.constFind(socket);
        if (it != m_clients.constEnd() && it->subscribed)
            send(socket, line);
    }
}
