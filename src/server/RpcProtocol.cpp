#include "RpcProtocol.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace {
QByteArray line(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QJsonObject base(const QJsonValue& id)
{
    return { { QStringLiteral("jsonrpc"), QStringLiteral("2.0") },
        { QStringLiteral("id"), id.isUndefined() ? QJsonValue() : id } };
}
} // namespace

RpcProtocol::Parsed RpcProtocol::parse(const QByteArray& text)
{
    Parsed parsed;
    QJsonParseError failure;
    const QJsonDocument document = QJsonDocument::fromJson(text, &failure);
    if (failure.error != QJsonParseError::NoError) {
        parsed.errorReply
            = error(QJsonValue(), parseError, QStringLiteral("Parse error: %1").arg(failure.errorString()));
        return parsed;
    }
    if (!document.isObject()) {
        parsed.errorReply = error(QJsonValue(), invalidRequest, QStringLiteral("Invalid Request: one object per line"));
        return parsed;
    }
    const QJsonObject object = document.object();
    const QJsonValue id = object.value(QStringLiteral("id"));
    const bool idValid = id.isUndefined() || id.isNull() || id.isString() || id.isDouble();
    const QJsonValue replyId = idValid ? id : QJsonValue();
    const QJsonValue method = object.value(QStringLiteral("method"));
    const QJsonValue params = object.value(QStringLiteral("params"));
    if (object.value(QStringLiteral("jsonrpc")) != QJsonValue(QStringLiteral("2.0")) || !idValid
        || !method.isString()) {
        parsed.errorReply = error(replyId, invalidRequest,
            QStringLiteral("Invalid Request: needs \"jsonrpc\": \"2.0\", a method name and "
                           "a string or number id"));
        return parsed;
    }
    if (!params.isUndefined() && !params.isObject()) {
        parsed.errorReply
            = error(replyId, invalidParams, QStringLiteral("Invalid params: parameters are named (an object)"));
        return parsed;
    }
    parsed.ok = true;
    parsed.request.id = id;
    parsed.request.method = method.toString();
    parsed.request.params = params.toObject();
    return parsed;
}

QByteArray RpcProtocol::result(const QJsonValue& id, const QJsonValue& value)
{
    QJsonObject reply = base(id);
    reply.insert(QStringLiteral("result"), value);
    return line(reply);
}

QByteArray RpcProtocol::error(const QJsonValue& id, int code, const QString& message, const QString& kind)
{
    QJsonObject body { { QStringLiteral("code"), code }, { QStringLiteral("message"), message } };
    if (!kind.isEmpty())
        body.insert(QStringLiteral("data"), QJsonObject { { QStringLiteral("kind"), kind } });
    QJsonObject reply = base(id);
    reply.insert(QStringLiteral("error"), body);
    return line(reply);
}

QByteArray RpcProtocol::error(const QJsonValue& id, const ServerError& e)
{
    return error(id, code(e.kind), e.message, kindName(e.kind));
}

QByteArray RpcProtocol::notification(const QString& method, const QJsonObject& params)
{
    return line({ { QStringLiteral("jsonrpc"), QStringLiteral("2.0") }, { QStringLiteral("method"), method },
        { QStringLiteral("params"), params } });
}

int RpcProtocol::code(ServerError::Kind kind)
{
    switch (kind) {
    case ServerError::Kind::Busy:
        return busyError;
    case ServerError::Kind::Range:
        return rangeError;
    case ServerError::Kind::Refused:
        return refusedError;
    case ServerError::Kind::Timeout:
        return timeoutError;
    case ServerError::Kind::Controller:
        return controllerError;
    case ServerError::Kind::File:
        return fileError;
    case ServerError::Kind::Travel:
        return travelError;
    }
    return controllerError;
}

QString RpcProtocol::kindName(ServerError::Kind kind)
{
    switch (kind) {
    case ServerError::Kind::Busy:
        return QStringLiteral("busy");
    case ServerError::Kind::Range:
        return QStringLiteral("range");
    case ServerError::Kind::Refused:
        return QStringLiteral("refused");
    case ServerError::Kind::Timeout:
        return QStringLiteral("timeout");
    case ServerError::Kind::Controller:
        return QStringLiteral("controller");
    case ServerError::Kind::File:
        return QStringLiteral("file");
    case ServerError::Kind::Travel:
        return QStringLiteral("travel");
    }
    return QStringLiteral("controller");
}
