#pragma once

#include "LayerProgramHost.h"

struct MainFrameState;

// The program as the controller-program dialogs see it: the selected
// program from the main window's state, everything else through the control
// layer.
class FrameProgramHost : public LayerProgramHost
{
public:
    FrameProgramHost(MainFrameState& state, ControlLayer& control);

    int selectedProgram() const override;
    void setSelectedProgram(int program) override;

private:
    MainFrameState& m_state;
};
