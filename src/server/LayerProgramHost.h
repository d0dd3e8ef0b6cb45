#pragma once

#include "ProgramHost.h"

class ControlLayer;

// The program around a controller-program run, through the control layer:
// the start velocity and the travel limits from it, the position read and the marker
// moved through it. The selected program is kept here (the window keeps its
// own, see its subclass).
class LayerProgramHost : public ProgramHost
{
public:
    explicit LayerProgramHost(ControlLayer& control);

    quint16 startVelocityWord() const override;
    TravelLimits travelLimits() const override;
    int selectedProgram() const override { return m_program; }
    void setSelectedProgram(int program) override { m_program = program; }
    LinkStatus getPosition() override;
    void markerRefresh() override;
    LinkStatus restoreVelocity() override;

protected:
    ControlLayer& m_control;

private:
    int m_program = -1;
};
