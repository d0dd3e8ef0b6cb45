#pragma once

#include "ProgramHost.h"

class MainOperations;
struct MainFrameState;

// The main window as the controller-program dialogs see it.
class FrameProgramHost : public ProgramHost
{
public:
    FrameProgramHost(MainFrameState& state, MainOperations& operations);

    quint16 startVelocityWord() const override;
    int selectedProgram() const override;
    void setSelectedProgram(int program) override;
    LinkStatus getPosition() override;
    void markerRefresh() override;
    LinkStatus restoreVelocity() override;

private:
    MainFrameState& m_state;
    MainOperations& m_operations;
};
