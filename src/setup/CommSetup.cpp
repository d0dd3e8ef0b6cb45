#include "CommSetup.h"

#include "PortNames.h"
#include "Prompts.h"
#include "SerialLink.h"
#include "SerialSettings.h"

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

    m_settings.portName = c.portName();
    m_settings.baudText = c.baudText;
    m_settings.framing = c.framing();

    if (m_settings.startupMode)
        return;
    m_link.applyNewSettings(c.port != portBefore);
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
