#pragma once

// The main window's state and operations on the in-process simulated
// controller, with the widgets replaced by a recorder; virtual clock, scripted
// prompts. Shared by the stored-position tests.

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
    void setManualControlsEnabled(bool enabled) override { controlsEnabled = enabled; }
    void updateCommandStates() override {}
    void showPanelPosition(const Position& microns) override
    {
        panel = microns;
        ++panelUpdates;
    }
    void moveMarker(const Position& from, const Position& to) override
    {
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
    void placeController(const Position& p)
    {
        const QByteArray move = Commands::move(p);
        controller.receive(reinterpret_cast<const std::uint8_t*>(move.constData()),
                           static_cast<std::size_t>(move.size()), clock.nowMs());
        clock.sleepMs(60 * 60 * 1000);
        port.clear(true);
    }

    // Where the simulated controller stands now (microsteps).
    Position controllerAt() const
    {
        const qx410sim::SimController::Axes a = controller.position(clock.nowMs());
        return Position{a.x, a.y, a.z};
    }

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
