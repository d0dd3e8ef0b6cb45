#include "FrameProgramHost.h"

#include "MainFrameState.h"
#include "MainOperations.h"
#include "VelocityWord.h"

FrameProgramHost::FrameProgramHost(MainFrameState& state, MainOperations& operations)
    : m_state(state)
    , m_operations(operations)
{
}

quint16 FrameProgramHost::startVelocityWord() const
{
    return VelocityWord::encode(m_state.velocity, m_state.isHighResolution());
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
    return m_operations.getPosition();
}

void FrameProgramHost::markerRefresh()
{
    m_operations.markerRefresh();
}

LinkStatus FrameProgramHost::restoreVelocity()
{
    return m_operations.restoreVelocity();
}
