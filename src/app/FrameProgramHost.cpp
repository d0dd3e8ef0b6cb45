#include "FrameProgramHost.h"

#include "MainFrameState.h"
#include "ControlLayer.h"
#include "VelocityWord.h"

FrameProgramHost::FrameProgramHost(MainFrameState& state, ControlLayer& control)
    : m_state(state)
    , m_control(control)
{
}

quint16 FrameProgramHost::startVelocityWord() const
{
    return VelocityWord::encode(m_control.velocitySetting(), m_control.isHighResolution());
}

TravelLimits FrameProgramHost::travelLimits() const
{
    return m_control.travelLimits();
}

int FrameProgramHost::selectedProgram() const
{
    return m_state.selectedProgram;
}

void FrameProgramHost::setSelectedProgram(int program)
{
    m_state.selectedProgram = program;
}

LinkStatus FrameProgramHost::getPosition()
{
    return m_control.getPosition();
}

void FrameProgramHost::markerRefresh()
{
    m_control.markerRefresh();
}

LinkStatus FrameProgramHost::restoreVelocity()
{
    return m_control.restoreVelocity();
}
