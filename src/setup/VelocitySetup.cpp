#include "VelocitySetup.h"

#include "ControlLayer.h"
#include "Prompts.h"
#include "VelocityWord.h"

#include <algorithm>

const QString VelocitySetup::rangeText = QStringLiteral("Please enter a whole number between 0 and 6550.");
const QString VelocitySetup::highResolutionText
    = QStringLiteral("Velocity must be less than 1310 in high resolution mode");
const QString VelocitySetup::warningCaption = QStringLiteral("Warning");

VelocitySetup::VelocitySetup(ControlLayer& control, Prompts& prompts, UpdatePanes updatePanes)
    : m_control(control)
    , m_state(control.state())
    , m_prompts(prompts)
    , m_updatePanes(std::move(updatePanes))
{
}

VelocityChoice VelocitySetup::current() const
{
    return VelocityChoice { QString::number(m_state.velocity) };
}

std::optional<int> VelocitySetup::parseEntry(const QString& entry)
{
    const QString digits = entry.trimmed();
    if (digits.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        // Only the ASCII digits: other scripts' digits are not a velocity.
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        // Held just above the limit, so that any number of digits is safe.
        value = std::min(value * 10 + (c.unicode() - '0'), maxEntry + 1);
    }
    if (value > maxEntry)
        return std::nullopt;
    return value;
}

bool VelocitySetup::accept(const VelocityChoice& choice)
{
    const std::optional<int> velocity = parseEntry(choice.entry);
    if (!velocity) {
        m_prompts.message(rangeText, warningCaption, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return false;
    }
    const bool high = m_state.isHighResolution();
    if (high && *velocity > highResolutionLimit) {
        m_prompts.message(highResolutionText, warningCaption, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return false;
    }

    // The panes are drawn from the settings, so the setting changes first.
    m_control.setVelocitySetting(static_cast<quint16>(*velocity));
    if (m_updatePanes)
        m_updatePanes();
    m_control.controller().setVelocity(VelocityWord::encode(*velocity, high));
    return true;
}

bool VelocitySetup::run(const Ask& ask)
{
    if (m_state.busy || !ask)
        return false;
    return ask(current(), [this](const VelocityChoice& choice) { return accept(choice); });
}
