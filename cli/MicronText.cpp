#include "MicronText.h"

#include "Units.h"

#include <QRegularExpression>

#include <limits>

namespace {
// Beyond any 32-bit microstep count, and still far from overflowing 64 bits.
constexpr qint64 kFarOutside = qint64(1) << 60;
// Hundredths of a micrometre above this are far outside the controller's range.
constexpr qint64 kHundredthsCap = qint64(1) << 50;
} // namespace

std::optional<qint64> MicronText::toMicrosteps(const QString& word)
{
    static const QRegularExpression number(
        QStringLiteral("^([-+]?)([0-9]*)(?:\\.([0-9]*))?(?:[eE]([-+]?[0-9]+))?$"));
    const QRegularExpressionMatch m = number.match(word.trimmed());
    const QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    if (!m.hasMatch() || (whole.isEmpty() && fraction.isEmpty()))
        return std::nullopt;
    const bool negative = m.captured(1) == QLatin1String("-");
    // The digits without the point, and where the point stands among them
    // once the exponent has moved it.
    const QString digits = whole + fraction;
    // An exponent beyond a thousand places says nothing more: such a number
    // is zero or far beyond the controller's range either way.
    bool exponentOk = true;
    qint64 exponent = m.captured(4).isEmpty() ? 0 : m.captured(4).toLongLong(&exponentOk);
    if (!exponentOk || exponent > 1000 || exponent < -1000)
        exponent = m.captured(4).startsWith(QLatin1Char('-')) ? -1000 : 1000;
    const qint64 point = whole.size() + exponent;

    // The magnitude in hundredths of a micrometre, cut (not rounded) after
    // the second decimal: the digits before place point + 2 (none when the
    // point stands that far before the first digit; zeros past the last).
    // Microsteps are hundredths / 4, and a remainder of 2 or more (half a
    // microstep, or more) rounds up whatever digits follow, so the cut
    // loses nothing.
    qint64 hundredths = 0;
    for (qint64 i = 0; i < point + 2; ++i) {
        const int digit = i < digits.size() ? digits.at(static_cast<int>(i)).digitValue() : 0;
        hundredths = hundredths * 10 + digit;
        if (hundredths > kHundredthsCap)
            return negative ? -kFarOutside : kFarOutside;
        if (i >= digits.size() && hundredths == 0)
            break; // zeros only from here on
    }
    const qint64 steps = hundredths / 4 + (hundredths % 4 >= 2 ? 1 : 0);
    return negative ? -steps : steps;
}

bool MicronText::fitsController(qint64 microsteps)
{
    return microsteps >= std::numeric_limits<qint32>::min() && microsteps <= std::numeric_limits<qint32>::max();
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
