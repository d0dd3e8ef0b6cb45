#include "MicronText.h"

#include "Microns.h"
#include "Units.h"

#include <limits>

std::optional<qint64> MicronText::toMicrosteps(const QString& word)
{
    return Microns::parse(word.trimmed().toStdString(), Microns::Exponent::Allowed);
}

QString MicronText::controllerRangeText()
{
    return QStringLiteral("%1 and %2")
        .arg(micronsText(std::numeric_limits<qint32>::min(), true), micronsText(std::numeric_limits<qint32>::max(), true));
}

QString MicronText::micronsText(qint32 microsteps, bool hundredths)
{
    if (!hundredths)
        return QString::number(Units::microstepsToMicrons(microsteps));
    // One microstep is four hundredths of a micrometre: exact in integers.
    const qint64 h = qint64(microsteps) * 4;
    const qint64 magnitude = h < 0 ? -h : h;
    return QStringLiteral("%1%2.%3")
        .arg(h < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QString MicronText::positionText(const Position& microsteps, bool hundredths)
{
    return QStringLiteral("%1 %2 %3")
        .arg(micronsText(microsteps.x, hundredths), micronsText(microsteps.y, hundredths),
             micronsText(microsteps.z, hundredths));
}
