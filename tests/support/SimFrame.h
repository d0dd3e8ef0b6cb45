#pragma once

// The main window's state and operations on the in-process simulated
// controller, with the widgets replaced by a recorder; virtual clock, scripted
// prompts. Shared by the main window, stored-position and capture tests
// (they link the main window's library).

#include "Commands.h"
#include "Controller.h"
#include "MainFrameState.h"
#include "MainFrameUi.h"
#include "MainOperations.h"
#include "Printing.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "Units.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QStringList>
#include <cstdint>

// Records what the operations asked of the widgets.
struct RecordingUi : MainFrameUi
{
    void setManualControlsEnabled(bool enabled) override
    {
        controlsEnabled = enabled;
        log << (enabled ? QStringLiteral("unlock") : QStringLiteral("lock"));
    }
    void updateCommandStates() override { log << QStringLiteral("states"); }
    void showPanelPosition(const Position& microns) override
    {
        panel = microns;
        ++panelUpdates;
        log << QStringLiteral("panel %1 %2 %3").arg(microns.x).arg(microns.y).arg(microns.z);
    }
    void moveMarker(const Position& from, const Position& to) override
    {
        log << QStringLiteral("marker %1 -> %2").arg(from.x).arg(to.x);
        markerMoves << QStringLiteral("%1,%2,%3 -> %4,%5,%6")
                           .arg(from.x)
                           .arg(from.y)
                           .arg(from.z)
                           .arg(to.x)
                           .arg(to.y)
                           .arg(to.z);
    }

    Position panel;
    int panelUpdates = 0;
    QStringList markerMoves;
    bool controlsEnabled = true;
    // Every call in order: "lock", "states", "unlock", "panel X Y Z", "marker X -> X".
    QStringList log;
};

struct SimFrame
{
    explicit SimFrame(qx410sim::Faults faults = {})
        : controller(faults)
        , port(controller, clock)
        , link(port, clock, prompts, serial)
        , control(link)
        , ops(state, control, clock, ui)
    {
        link.open();
    }

    // Puts the simulated controller somewhere (microsteps) without the host.
    void placeController(const Position& p) { port.placeController(p); }

    // Where the simulated controller stands now (microsteps).
    Position controllerAt() const { return port.controllerAt(); }

    // Start-up as the main window does it: two queries, the marker drawn
    // there, the velocity sent; then a clean record of the wire.
    void start()
    {
        ops.initialExchange();
        port.written.clear();
        ui.markerMoves.clear();
        ui.panelUpdates = 0;
    }

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings serial;
    SerialLink link;
    Controller control;
    MainFrameState state;
    RecordingUi ui;
    MainOperations ops;
};
