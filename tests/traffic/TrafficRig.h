#pragma once

// The desktop program's link on the in-process simulated controller, with the
// tracing device between link and port as in the program, and the control
// layer over it (observed by a recorder in place of the window).

#include "SimFrame.h"
#include "TracingPortDevice.h"

struct TrafficRig
{
    TrafficRig()
        : port(controller, clock)
        , traced(port, clock)
        , link(traced, clock, prompts, serial)
        , control(link)
        , ops(link, clock)
    {
        ui.observe(ops, state);
        serial.portName = QStringLiteral("/dev/sim");
        link.open();
    }

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    TracingPortDevice traced;
    ScriptedPrompts prompts;
    SerialSettings serial;
    SerialLink link;
    Controller control;
    SimWindowState state;
    RecordingUi ui;
    ControlLayer ops;
};
