#pragma once

// The control layer on the in-process simulated controller, observed by a
// recorder in place of the main window, beside the window's own state;
// virtual clock, scripted prompts. Shared by the control layer,
// stored-position and capture tests (they link the control library).

#include "Commands.h"
#include "Controller.h"
#include "ControlLayer.h"
#include "PathSlots.h"
#include "StoredSlots.h"
#include "Printing.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "Units.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QStringList>
#include <cstdint>

// Records what the control layer announced, as the main window sees it.
struct RecordingUi
{
    void setManualControlsEnabled(bool enabled)
    {
        controlsEnabled = enabled;
        log << (enabled ? QStringLiteral("unlock") : QStringLiteral("lock"));
    }
    void updateCommandStates() { log << QStringLiteral("states"); }
    void showPanelPosition(const Position& microns)
    {
        panel = microns;
        ++panelUpdates;
        log << QStringLiteral("panel %1 %2 %3").arg(microns.x).arg(microns.y).arg(microns.z);
    }
    void moveMarker(const Position& from, const Position& to)
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

    // Observes the layer as the main window does; the previous position goes
    // to the stored positions.
    void observe(ControlLayer& layer, StoredSlots& stored)
    {
        QObject::connect(&layer, &ControlLayer::moveLockChanged,
                         [this](bool locked) { setManualControlsEnabled(!locked); });
        QObject::connect(&layer, &ControlLayer::busyChanged, [this] { updateCommandStates(); });
        QObject::connect(&layer, &ControlLayer::positionChanged, [this](const Position& p) { showPanelPosition(p); });
        QObject::connect(&layer, &ControlLayer::markerMoved,
                         [this](const Position& from, const Position& to) { moveMarker(from, to); });
        QObject::connect(&layer, &ControlLayer::moveStarted,
                         [&stored](const Position& p) { stored.stored[StoredSlots::Previous] = p; });
    }
};

// The window's own values the tests need beside the layer.
struct SimWindowState : PathSlots, StoredSlots
{
};

struct SimFrame
{
    explicit SimFrame(qx410sim::Faults faults = {})
        : controller(faults)
        , port(controller, clock)
        , link(port, clock, prompts, serial)
        , control(link)
        , ops(link, clock)
    {
        ui.observe(ops, state);
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
    SimWindowState state;
    RecordingUi ui;
    ControlLayer ops;
};
