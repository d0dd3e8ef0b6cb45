#pragma once

#include "RpcMethods.h"
#include "ServerBackend.h"

#include <QHash>
#include <QLocalServer>
#include <QObject>
#include <QPointer>

class QLocalSocket;

// The local server of one controller: a QLocalServer only this user can
// reach, JSON-RPC 2.0 one message a line. All on the caller's thread: a
// request that waits on the controller pumps events, so other clients are
// read and answered meanwhile (RpcMethods keeps them off the wire). A bad
// line gets an error reply and the connection stays; a line over the limit,
// a client past the limit of clients and a client whose unsent replies pile
// up past the limit are dropped, never waited for.
class ControlServer : public QObject {
    Q_OBJECT
public:
    struct Limits {
        qint64 maxLine = 64 * 1024;
        int maxClients = 32;
        qint64 maxUnsent = 1024 * 1024;
    };

    ControlServer(
        ServerBackend& backend, const QString& program, const QString& programVersion, QObject* parent = nullptr);
    ~ControlServer() override;

    void setLimits(const Limits& limits) { m_limits = limits; }

    // Prepares the folder, refuses a path another server answers on, removes
    // a stale socket file and listens (the socket file closed to group and others). False with
    // *error set when it cannot.
    bool listen(const QString& path, QString* error);
    // Stops listening, drops every client and removes the socket file.
    void close();
    QString path() const { return m_path; }
    int clientCount() const { return static_cast<int>(m_clients.size()); }

    // Tells every subscribed client.
    void publish(const ServerEvent& event);

signals:
    // A client connected or was dropped.
    void clientCountChanged(int clients);

private:
    struct Client {
        bool subscribed = false;
        bool scheduled = false;
    };

    void accept();
    void schedule(QLocalSocket* socket);
    void serve(QPointer<QLocalSocket> socket);
    void handleLine(QLocalSocket* socket, const QByteArray& line);
    // False when the client was dropped for not reading.
    bool send(QLocalSocket* socket, const QByteArray& line);
    // afterReplies: what was sent still goes out before the connection closes.
    void drop(QLocalSocket* socket, bool afterReplies = false);
    // A line over the limit: the client is told, then dropped.
    void dropForLongLine(QPointer<QLocalSocket> socket);

    ServerBackend& m_backend;
    RpcMethods m_methods;
    Limits m_limits;
    QLocalServer m_server;
    QString m_path;
    QHash<QLocalSocket*, Client> m_clients;
};
