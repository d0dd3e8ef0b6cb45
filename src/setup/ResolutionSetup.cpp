#include "ResolutionSetup.h"

#include "ControlLayer.h"
#include "Prompts.h"
#include "VelocitySetup.h"
#include "VelocityWord.h"

const QString ResolutionSetup::highRefusedText
    = QStringLiteral("Can not set resolution to high! \r\nAt high resolution, the speed has to be less than 1310");
const QString ResolutionSetup::warningCaption = QStringLiteral("Warning");
const QString ResolutionSetup::noteText = QStringLiteral(
    "NOTE: resolution change does not affect manual input and resolution displayed on VFD, please see help");

ResolutionSetup::ResolutionSetup(
    ControlLayer& control, Prompts& prompts, UpdatePanes updatePanes, ShowNote showNote)
    : m_control(control)
    , m_state(control.state())
    , m_prompts(prompts)
    , m_updatePanes(std::move(updatePanes))
    , m_showNote(std::move(showNote))
{
}

ResolutionChoice ResolutionSetup::current() const
{
    return ResolutionChoice { m_state.isHighResolution() };
}

void ResolutionSetup::updatePanes()
{
    if (m_updatePanes)
        m_updatePanes();
}

bool ResolutionSetup::accept(const ResolutionChoice& choice)
{
    const bool wasHigh = m_state.isHighResolution();
    if (choice.high && m_state.velocity > VelocitySetup::highResolutionLimit) {
        m_prompts.message(highRefusedText, warningCaption, Prompts::Icon::Stop, Prompts::Buttons::Ok);
        m_control.setResolutionSetting(ControlState::lowResolution);
        // The setting fell from high to low: the pane follows it rather than
        // go on showing HIGH.
        if (wasHigh)
            updatePanes();
        return false;
    }

    m_control.setResolutionSetting(choice.high ? ControlState::highResolution : ControlState::lowResolution);
    updatePanes();
    if (m_showNote)
        m_showNote(noteText);
    m_control.controller().setVelocity(VelocityWord::encode(m_state.velocity, choice.high));
    return true;
}

bool ResolutionSetup::run(const Ask& ask)
{
    if (m_state.busy || !ask)
        return false;
    return ask(current(), [this](const ResolutionChoice& choice) { return accept(choice); });
}
