#include "HardwareSetup.h"

#include "Controller.h"
#include "Prompts.h"

const QString HardwareSetup::caption = QStringLiteral("Hardware Setup");
const QString HardwareSetup::resetQuestion = QStringLiteral("Do You Want to Reset the Controller?");
const QString HardwareSetup::setOriginQuestion = QStringLiteral("Set Origin to the Current Position?");

HardwareSetup::HardwareSetup(Controller& controller, Prompts& prompts)
    : m_controller(controller)
    , m_prompts(prompts)
{
}

bool HardwareSetup::confirm(const QString& question)
{
    return m_prompts.message(question, caption, Prompts::Icon::Question, Prompts::Buttons::YesNo)
        == Prompts::Answer::Yes;
}

bool HardwareSetup::reset()
{
    if (!confirm(resetQuestion))
        return false;
    m_controller.reset();
    return true;
}

bool HardwareSetup::setOrigin()
{
    if (!confirm(setOriginQuestion))
        return false;
    m_controller.setOrigin();
    return true;
}
