#include "DefinePosition.h"

#include "ControlLayer.h"
#include "Prompts.h"
#include "Units.h"

const QString DefinePosition::warningCaption = QStringLiteral("Warning");

namespace {

QString rangeRequest()
{
    return QStringLiteral("Please enter an integer between %1 and %2.")
        .arg(DefinePosition::minimum)
        .arg(DefinePosition::maximum);
}

qint32& axis(Position& p, DefinePosition::Field field)
{
    return field == DefinePosition::X ? p.x : field == DefinePosition::Y ? p.y : p.z;
}

} // namespace

DefinePosition::DefinePosition(const QString& title, const Position& microns, ControlLayer& control,
                               Prompts& prompts)
    : m_title(title)
    , m_held(microns)
    , m_control(control)
    , m_prompts(prompts)
{
}

qint32 DefinePosition::held(Field field) const
{
    return field == X ? m_held.x : field == Y ? m_held.y : m_held.z;
}

bool DefinePosition::getCurrentPosition()
{
    // Without a reply the current position is only the last one known: it
    // must not pass for the controller's position.
    if (m_control.getPosition() != LinkStatus::Ok)
        return false;
    m_held = Units::microstepsToMicrons(m_control.currentPosition());
    m_control.markerRefresh();
    return true;
}

std::optional<DefinePosition::Field> DefinePosition::accept(const Texts& texts)
{
    Position taken;
    for (int f = X; f < FieldCount; ++f) {
        const Field field = static_cast<Field>(f);
        qint32 value = 0;
        switch (check(texts[static_cast<std::size_t>(f)], &value)) {
        case Check::Valid:
            axis(taken, field) = value;
            break;
        case Check::NotInteger:
            m_prompts.message(notIntegerText(field), warningCaption, Prompts::Icon::Exclamation,
                              Prompts::Buttons::Ok);
            return field;
        case Check::OutOfRange:
            m_prompts.message(outOfRangeText(field), warningCaption, Prompts::Icon::Exclamation,
                              Prompts::Buttons::Ok);
            return field;
        }
    }
    m_held = taken;
    m_accepted = true;
    return std::nullopt;
}

DefinePosition::Check DefinePosition::check(const QString& text, qint32* value)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    if (i == t.size())
        return Check::NotInteger;
    // The magnitude stops growing once it is past the range, so any number
    // of digits is read without overflow.
    const qint64 beyond = static_cast<qint64>(maximum) + 1;
    qint64 magnitude = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Check::NotInteger;
        if (magnitude < beyond)
            magnitude = magnitude * 10 + (c.unicode() - u'0');
    }
    const qint64 signedValue = negative ? -magnitude : magnitude;
    if (signedValue < minimum || signedValue > maximum)
        return Check::OutOfRange;
    if (value)
        *value = static_cast<qint32>(signedValue);
    return Check::Valid;
}

QString DefinePosition::fieldName(Field field)
{
    switch (field) {
    case X:
        return QStringLiteral("X");
    case Y:
        return QStringLiteral("Y");
    default:
        return QStringLiteral("Z");
    }
}

QString DefinePosition::notIntegerText(Field field)
{
    return QStringLiteral("%1 is not a whole number.\n").arg(fieldName(field)) + rangeRequest();
}

QString DefinePosition::outOfRangeText(Field field)
{
    return QStringLiteral("%1 is outside the allowed range.\n").arg(fieldName(field)) + rangeRequest();
}
