#pragma once

#include "RpcProtocol.h"
#include "ServerBackend.h"

#include <QByteArray>
#include <QJsonObject>

// Carries out one request on the backend and gives the reply line. Checks
// names and types of the parameters, turns micrometres into microsteps and
// back, and keeps one operation on the wire at a time: a request that needs
// the wire while another is under way (here or in the owner) is answered
// busy at once; stop, halt, continue, hello and the last position always
// go through.
class RpcMethods {
public:
    RpcMethods(ServerBackend& backend, const QString& program, const QString& programVersion);

    // The reply line; empty for a notification (a request without id).
    QByteArray call(const RpcProtocol::Request& request);

    // Whether a request is under way that holds the wire.
    bool operationUnderWay() const { return m_depth > 0; }

    // Micrometres (any fraction) to whole microsteps, 0.04 um each, rounded
    // to the nearest; false with *why set when the value is not finite or
    // its microsteps do not fit the controller's signed 32 bits.
    static bool toMicrosteps(double microns, char axis, qint32* microsteps, QString* why);
    static QJsonObject microns(const Position& microsteps);
    // {"x": {"lower": µm or null, "upper": µm or null}, "y": …, "z": …}
    static QJsonObject limitsObject(const TravelLimits& limits);
    // Back from that object (a client reading a reply or an event).
    static TravelLimits limitsFromObject(const QJsonObject& object);
    // One limit in micrometres, or null for none.
    static QJsonValue limitValue(const std::optional<std::int64_t>& microsteps);

    static QJsonObject eventParams(const ServerEvent& event);

private:
    struct Reply;
    Reply dispatch(const RpcProtocol::Request& request);
    Reply hello();
    Reply position();
    Reply move(const QJsonObject& params);
    Reply velocity(const QJsonObject& params);
    Reply resolution(const QJsonObject& params);
    Reply status();
    Reply run(const QJsonObject& params);
    Reply programTransfer(const QString& method, const QJsonObject& params);
    Reply execute(const QJsonObject& params);
    Reply programs();
    Reply limits(const QJsonObject& params);

    ServerBackend& m_backend;
    QString m_program;
    QString m_programVersion;
    int m_depth = 0;
};
