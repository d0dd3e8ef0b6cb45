#include "TravelLimitsSetup.h"

#include "ControlLayer.h"
#include "Prompts.h"

const QString TravelLimitsSetup::caption = QStringLiteral("Warning");
const QString TravelLimitsSetup::noLimitsText = QStringLiteral("No travel limits are set: every target is allowed.");
const QString TravelLimitsSetup::withinText = QStringLiteral("The manipulator stands within the limits.");

namespace {

QString limitName(int field)
{
    return QString::fromStdString(
        TravelLimits::limitName(TravelLimitsChoice::axisOf(field), TravelLimitsChoice::isLower(field)));
}

QString microns(std::int64_t microsteps)
{
    return QString::fromStdString(TravelLimits::micronsText(microsteps));
}

} // namespace

TravelLimitsSetup::TravelLimitsSetup(ControlLayer& control, Prompts& prompts)
    : m_control(control)
    , m_prompts(prompts)
{
}

QString TravelLimitsSetup::fieldName(int field)
{
    return QStringLiteral("The ") + limitName(field);
}

TravelLimitsChoice TravelLimitsSetup::current() const
{
    TravelLimitsChoice choice;
    for (int axis = 0; axis < TravelLimits::axes; ++axis) {
        const TravelLimits::Range& r = m_control.travelLimits().range(axis);
        if (r.lower)
            choice.fields[TravelLimitsChoice::field(axis, true)] = microns(*r.lower);
        if (r.upper)
            choice.fields[TravelLimitsChoice::field(axis, false)] = microns(*r.upper);
    }
    return choice;
}

std::optional<QString> TravelLimitsSetup::fromCurrentPosition(int field)
{
    if (field < 0 || field >= TravelLimitsChoice::fieldCount || m_control.isBusy())
        return std::nullopt;
    // Without a reply the current position is only the last one known: it
    // must not pass for where the manipulator stands.
    if (m_control.getPosition() != LinkStatus::Ok)
        return std::nullopt;
    m_control.markerRefresh();
    const Position p = m_control.currentPosition();
    const qint32 values[] = { p.x, p.y, p.z };
    return microns(values[TravelLimitsChoice::axisOf(field)]);
}

std::optional<TravelLimits> TravelLimitsSetup::parse(const TravelLimitsChoice& choice, QString* error, int* badField)
{
    auto refuse = [&](int field, const QString& why) -> std::optional<TravelLimits> {
        if (error)
            *error = why;
        if (badField)
            *badField = field;
        return std::nullopt;
    };
    std::array<std::optional<std::int64_t>, TravelLimitsChoice::fieldCount> values;
    for (int f = 0; f < TravelLimitsChoice::fieldCount; ++f) {
        const QString text = choice.fields[static_cast<std::size_t>(f)].trimmed();
        if (text.isEmpty())
            continue;
        values[static_cast<std::size_t>(f)] = TravelLimits::parseMicrons(text.toStdString());
        if (!values[static_cast<std::size_t>(f)])
            return refuse(f,
                QStringLiteral("%1 must be a number of micrometres, such as -5000 or 12.52, or empty for none.")
                    .arg(fieldName(f)));
    }
    TravelLimits limits;
    for (int axis = 0; axis < TravelLimits::axes; ++axis) {
        const int lower = TravelLimitsChoice::field(axis, true);
        const int upper = TravelLimitsChoice::field(axis, false);
        const TravelLimits::Range range { values[static_cast<std::size_t>(lower)],
            values[static_cast<std::size_t>(upper)] };
        if (!limits.setRange(axis, range))
            return refuse(lower,
                QStringLiteral("%1 (%2 µm) lies above the %3 (%4 µm).")
                    .arg(fieldName(lower), microns(*range.lower), limitName(upper), microns(*range.upper)));
    }
    return limits;
}

QString TravelLimitsSetup::positionCheck(const TravelLimitsChoice& choice) const
{
    QString error;
    const std::optional<TravelLimits> limits = parse(choice, &error);
    if (!limits)
        return error;
    if (!limits->any())
        return noLimitsText;
    const Position p = m_control.currentPosition();
    const auto breach = limits->breach(p.x, p.y, p.z);
    if (!breach)
        return withinText;
    return QStringLiteral("The manipulator stands outside the limits: %1 = %2 µm lies %3 the %4 of %5 µm.")
        .arg(QChar::fromLatin1(TravelLimits::axisLetter(breach->axis)), microns(breach->target),
            breach->below ? QStringLiteral("below") : QStringLiteral("above"),
            QString::fromStdString(TravelLimits::limitName(breach->axis, breach->below)), microns(breach->limit));
}

bool TravelLimitsSetup::accept(const TravelLimitsChoice& choice, int* badField)
{
    if (badField)
        *badField = -1;
    QString error;
    const std::optional<TravelLimits> limits = parse(choice, &error, badField);
    if (!limits) {
        m_prompts.message(error, caption, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return false;
    }
    // Nothing changed: nothing is written, so a limits file that could not be
    // read at start-up stays as it is for its owner to mend.
    if (*limits == m_control.travelLimits())
        return true;
    if (!m_control.saveTravelLimits(*limits, &error)) {
        m_prompts.message(error + QStringLiteral("\nThe travel limits in force stay as they were."), caption,
            Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return false;
    }
    return true;
}

bool TravelLimitsSetup::run(const Ask& ask)
{
    if (m_control.isBusy() || !ask)
        return false;
    return ask(current(), [this](const TravelLimitsChoice& choice, int* badField) { return accept(choice, badField); });
}
