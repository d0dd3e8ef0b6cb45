#include "StoredPositions.h"

#include "DefinePosition.h"
#include "ControlLayer.h"
#include "MoveRange.h"

StoredPositions::StoredPositions(StoredSlots& stored, ControlLayer& control, Prompts& prompts)
    : m_state(stored)
    , m_control(control)
    , m_prompts(prompts)
{
}

QString StoredPositions::dialogTitle(int which)
{
    switch (which) {
    case StoredSlots::Home:
        return QStringLiteral("Define Home Position");
    case StoredSlots::Position1:
        return QStringLiteral("Define Position 1");
    case StoredSlots::Position2:
        return QStringLiteral("Define Position 2");
    case StoredSlots::Position3:
        return QStringLiteral("Define Position 3");
    case StoredSlots::Previous:
        return QStringLiteral("Previous Position");
    default:
        return QString();
    }
}

bool StoredPositions::isStored(int which)
{
    return which >= StoredSlots::Home && which < StoredSlots::StoredCount;
}

std::optional<Position> StoredPositions::target(int which, QString* refusal) const
{
    if (!isStored(which))
        return Position{};
    const std::optional<Position> microsteps
        = MoveRange::fromMicrons(m_state.stored[static_cast<std::size_t>(which)], refusal);
    if (!microsteps)
        return std::nullopt;
    const QString outside = m_control.limitRefusal(*microsteps);
    if (!outside.isEmpty()) {
        if (refusal)
            *refusal = outside;
        return std::nullopt;
    }
    return microsteps;
}

std::optional<Position> StoredPositions::checkedTarget(int which)
{
    QString refusal;
    const std::optional<Position> microsteps = target(which, &refusal);
    if (!microsteps)
        MoveRange::showRefusal(m_prompts, refusal);
    return microsteps;
}

std::optional<LinkStatus> StoredPositions::goTo(int which)
{
    if (m_control.isBusy() || !isStored(which))
        return std::nullopt;
    // A copy: the move overwrites the previous position before it sends, and
    // Return must still go where the previous position pointed.
    const std::optional<Position> microsteps = checkedTarget(which);
    if (!microsteps)
        return std::nullopt;
    return m_control.absoluteMove(*microsteps);
}

std::optional<DefinePositionResult> StoredPositions::define(int which, const Ask& ask)
{
    if (m_control.isBusy() || !isStored(which) || !ask)
        return std::nullopt;
    Position& stored = m_state.stored[static_cast<std::size_t>(which)];
    DefinePosition dialog(dialogTitle(which), stored, m_control, m_prompts);
    const DefinePositionResult result = ask(dialog);
    stored = result.microns;
    return result;
}
