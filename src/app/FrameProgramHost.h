#pragma once

#include "ProgramHost.h"

class ControlLayer;
struct MainFrameState;

// The program as the controller-program dialogs see it: the selected
// program from the main window's state, everything else through the control
// layer.
class FrameProgramHost : public ProgramHost
{
public:
    FrameProgramHost(MainFrameState& state, ControlLayer& control);

    quint16 startVelocityWord() const override;
    TravelLimits travelLimits() const override;
    int selectedProgram() const override;
    void setSelectedProgram(int program) override;
    LinkStatus getPosition() override;
    void markerRefresh() override;
    LinkStatus restoreVelocity() override;

private:
    MainFrameState& m_state;
    ControlLayer& m_control;
};
