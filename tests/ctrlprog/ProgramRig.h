#pragma once

// The controller-program exchanges on the in-process simulated controller,
// with a recording stand-in for the main window; virtual clock, scripted
// prompts.

#include "Controller.h"
#include "Printing.h"
#include "ProgramExchange.h"
#include "ProgramHost.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "VelocityWord.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QStringList>

struct RecordingHost : ProgramHost
{
    explicit RecordingHost(Controller& c)
        : controller(c)
    {
    }
    quint16 startVelocityWord() const override { return VelocityWord::encode(velocity, high); }
    TravelLimits travelLimits() const override { return limits; }
    int selectedProgram() const override { return selected; }
    void setSelectedProgram(int program) override { selected = program; }
    LinkStatus getPosition() override
    {
        log << QStringLiteral("position");
        return controller.queryPosition(&position);
    }
    void markerRefresh() override { log << QStringLiteral("marker"); }
    LinkStatus restoreVelocity() override
    {
        log << QStringLiteral("restore");
        return controller.setVelocity(VelocityWord::encode(velocity, false));
    }

    Controller& controller;
    int velocity = 1000;
    bool high = false;
    TravelLimits limits;
    int selected = -1;
    Position position;
    QStringList log;
};

struct ProgramRig
{
    explicit ProgramRig(qx410sim::Faults faults = {})
        : sim(faults)
        , port(sim, clock)
        , link(port, clock, prompts, serial)
        , control(link)
        , exchange(link, clock)
        , host(control)
    {
        link.open();
    }

    // Stores steps in the controller as a download would, then forgets the wire.
    void store(int program, const std::vector<StepValues>& steps)
    {
        exchange.store(program, steps);
        port.written.clear();
    }

    // What the host wrote since the last call, as spaced hex.
    QByteArray wire()
    {
        return port.takeWritten();
    }

    qx410sim::SimController sim;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings serial;
    SerialLink link;
    Controller control;
    ProgramExchange exchange;
    RecordingHost host;
};
