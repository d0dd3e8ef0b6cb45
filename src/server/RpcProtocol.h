#pragma once

#include "ServerBackend.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// The JSON-RPC 2.0 messages of the local server, one per line: reading a
// request and writing replies, error replies and notifications.
class RpcProtocol {
public:
    static constexpr int version = 1;

    // JSON-RPC's own codes.
    static constexpr int parseError = -32700;
    static constexpr int invalidRequest = -32600;
    static constexpr int methodNotFound = -32601;
    static constexpr int invalidParams = -32602;
    // The program's own codes, one for each ServerError::Kind, then the limits.
    static constexpr int busyError = 1;
    static constexpr int rangeError = 2;
    static constexpr int refusedError = 3;
    static constexpr int timeoutError = 4;
    static constexpr int controllerError = 5;
    static constexpr int fileError = 6;
    static constexpr int limitError = 7;
    static constexpr int travelError = 8;

    struct Request {
        QJsonValue id; // absent (undefined) for a notification
        QString method;
        QJsonObject params;
    };
    // A request read from one line, or the error reply to send instead.
    struct Parsed {
        bool ok = false;
        Request request;
        QByteArray errorReply;
    };
    static Parsed parse(const QByteArray& line);

    // Each of these is a whole line, LF included.
    static QByteArray result(const QJsonValue& id, const QJsonValue& result);
    static QByteArray error(const QJsonValue& id, int code, const QString& message, const QString& kind = QString());
    static QByteArray error(const QJsonValue& id, const ServerError& error);
    static QByteArray notification(const QString& method, const QJsonObject& params);

    static int code(ServerError::Kind kind);
    static QString kindName(ServerError::Kind kind);
};
