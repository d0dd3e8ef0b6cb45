#pragma once

#include "Controller.h"
#include "ProgramHost.h"

#include <QTextStream>

class SerialLink;

// The command line in the main window's place around a program run: the
// velocity setting from the options, the program from the arguments, the
// position printed where the main window would show it.
class CtlProgramHost : public ProgramHost
{
public:
    CtlProgramHost(SerialLink& link, quint16 startWord, const TravelLimits& limits, int program, QTextStream& out,
                   bool json);

    quint16 startVelocityWord() const override { return m_startWord; }
    TravelLimits travelLimits() const override { return m_limits; }
    int selectedProgram() const override { return m_program; }
    void setSelectedProgram(int program) override { m_program = program; }
    // The position query; prints "X Y Z" in whole micrometres (or as JSON).
    LinkStatus getPosition() override;
    void markerRefresh() override {}
    LinkStatus restoreVelocity() override;

private:
    Controller m_controller;
    quint16 m_startWord;
    TravelLimits m_limits;
    int m_program;
    QTextStream& m_out;
    bool m_json;
};
