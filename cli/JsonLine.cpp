#include "JsonLine.h"

#include "MicronText.h"
#include "RpcMethods.h"
#include "Units.h"

#include <QJsonDocument>

QString JsonLine::of(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonObject JsonLine::position(const Position& position)
{
    return QJsonObject{{QStringLiteral("x"), position.x}, {QStringLiteral("y"), position.y}, {QStringLiteral("z"), position.z}};
}

QString JsonLine::positionLine(const Position& position, bool json)
{
    if (json)
        return of(JsonLine::position(position));
    return QStringLiteral("%1 %2 %3").arg(position.x).arg(position.y).arg(position.z);
}

QString JsonLine::microstepsLine(const Position& microsteps, bool high, bool json)
{
    if (!json)
        return MicronText::positionText(microsteps, high);
    if (!high)
        return of(position(Units::microstepsToMicrons(microsteps)));
    return of(RpcMethods::microns(microsteps)); // as the server gives positions
}
