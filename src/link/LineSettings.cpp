#include "LineSettings.h"

#include <QStringList>

std::optional<LineSettings> LineSettings::fromFraming(const QString& framing)
{
    const QStringList parts = framing.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;

    bool ok = false;
    LineSettings s;
    s.baud = parts[0].toInt(&ok);
    if (!ok || s.baud <= 0)
        return std::nullopt;

    const QString parity = parts[1].toUpper();
    if (parity != QLatin1String("N") && parity != QLatin1String("E") && parity != QLatin1String("O"))
        return std::nullopt;
    s.parity = parity.at(0).toLatin1();

    s.dataBits = parts[2].toInt(&ok);
    if (!ok || s.dataBits < 5 || s.dataBits > 8)
        return std::nullopt;

    s.stopBits = parts[3].toInt(&ok);
    if (!ok || (s.stopBits != 1 && s.stopBits != 2))
        return std::nullopt;
    return s;
}

bool LineSettings::isSupportedBaud(qint32 baud)
{
    return baud == 2400 || baud == 4800 || baud == 9600 || baud == 19200;
}
