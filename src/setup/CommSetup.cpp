#include "CommSetup.h"

#include "PortNames.h"
#include "Prompts.h"
#include "SerialLink.h"
#include "SerialSettings.h"

const QString CommSetup::bindingsNotSavedText = QStringLiteral(
    "The port bindings could not be saved in Qx410.ports. They hold until the program ends.");

CommSetup::CommSetup(SerialSettings& settings, SerialLink& link, Prompts& prompts)
    : m_settings(settings)
    , m_link(link)
    , m_prompts(prompts)
{
}

CommChoice CommSetup::current() const
{
    return CommChoice::fromSettings(m_settings);
}

void CommSetup::accept(const CommChoice& choice)
{
    const CommChoice c = choice.normalized();
    // A device named on the command line has no port number (0), so any
    // choice counts as a different port and the link reopens.
    const int portBefore = PortNames::comNumber(m_settings.portName);
    const QString deviceBefore = PortNames::resolve(m_settings.portName, m_settings.portBindings).device;

    m_settings.portName = c.portName();
    m_settings.baudText = c.baudText;
    m_settings.framing = c.framing();
    if (c.bindings != m_settings.portBindings) {
        m_settings.portBindings = c.bindings;
        if (m_saveBindings && !m_saveBindings(c.bindings))
            m_prompts.message(bindingsNotSavedText, SerialLink::warningCaption, Prompts::Icon::Warning,
                              Prompts::Buttons::Ok);
    }

    if (m_settings.startupMode)
        return;
    const QString deviceAfter = PortNames::resolve(m_settings.portName, m_settings.portBindings).device;
    m_link.applyNewSettings(c.port != portBefore || deviceAfter != deviceBefore);
}

void CommSetup::reject()
{
    if (m_settings.startupMode)
        m_prompts.endProcess(-1);
}

bool CommSetup::run(const Ask& ask)
{
    const std::optional<CommChoice> answer = ask ? ask(current()) : std::nullopt;
    if (!answer) {
        reject();
        return false;
    }
    accept(*answer);
    return true;
}
