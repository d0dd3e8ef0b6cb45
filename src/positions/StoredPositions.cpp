#include "StoredPositions.h"

#include "DefinePosition.h"
#include "MainOperations.h"
#include "MoveRange.h"

StoredPositions::StoredPositions(MainFrameState& state, MainOperations& operations, Prompts& prompts)
    : m_state(state)
    , m_operations(operations)
    , m_prompts(prompts)
{
}

QString StoredPositions::dialogTitle(int which)
{
    switch (which) {
    case MainFrameState::Home:
        return QStringLiteral("Define Home Position");
    case MainFrameState::Position1:
        return QStringLiteral("Define Position 1");
    case MainFrameState::Position2:
        return QStringLiteral("Define Position 2");
    case MainFrameState::Position3:
        return QStringLiteral("Define Position 3");
    case MainFrameState::Previous:
        return QStringLiteral("Previous Position");
    default:
        return QString();
    }
}

bool StoredPositions::isStored(int which)
{
    return which >= MainFrameState::Home && which < MainFrameState::StoredCount;
}

std::optional<Position> StoredPositions::target(int which, QString* refusal) const
{
    if (!isStored(which))
        return Position{};
    return MoveRange::fromMicrons(m_state.stored[static_cast<std::size_t>(which)], refusal);
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
    if (m_state.busy || !isStored(which))
        return std::nullopt;
    // A copy: the move overwrites the previous position before it sends, and
    // Return must still go where the previous position pointed.
    const std::optional<Position> microsteps = checkedTarget(which);
    if (!microsteps)
        return std::nullopt;
    return m_operations.absoluteMove(*microsteps);
}

std::optional<DefinePositionResult> StoredPositions::define(int which, const Ask& ask)
{
    if (m_state.busy || !isStored(which) || !ask)
        return std::nullopt;
    Position& stored = m_state.stored[static_cast<std::size_t>(which)];
    DefinePosition dialog(dialogTitle(which), stored, m_state, m_operations, m_prompts);
    const DefinePositionResult result = ask(dialog);
    stored = result.microns;
    return result;
}
