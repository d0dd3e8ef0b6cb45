#pragma once

// The desktop program's link on the in-process simulated controller, with the
// tracing device between link and port as in the program, and the main
// window's operations over it (widgets replaced by a recorder).

#include "SimFrame.h"
#include "TracingPortDevice.h"

struct TrafficRig
{
    TrafficRig()
        : port(controller, clock)
        , traced(port, clock)
        , link(traced, clock, prompts, serial)
        , control(link)
        , ops(state, control, clock, ui)
    {
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
    MainFrameState state;
    RecordingUi ui;
    MainOperations ops;
};
