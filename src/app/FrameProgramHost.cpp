#include "FrameProgramHost.h"

#include "MainFrameState.h"

FrameProgramHost::FrameProgramHost(MainFrameState& state, ControlLayer& control)
    : LayerProgramHost(control)
    , m_state(state)
{
}

int FrameProgramHost::selectedProgram() const
{
    return m_state.selectedProgram;
}

void FrameProgramHost::setSelectedProgram(int program)
{
    m_state.selectedProgram = program;
}
