#pragma once

// The local server against the in-process simulated controller on the
// virtual clock, with clients on real local sockets in this process.

#include "ControlBackend.h"
#include "ControlLayer.h"
#include "ControlServer.h"
#include "LayerProgramHost.h"
#include "RpcClient.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SerialSettings.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <functional>
#include <memory>

struct ServerRig {
    explicit ServerRig(const ControlServer::Limits& limits = {}, qx410sim::Faults faults = {})
        : simulator(faults)
        , port(simulator, clock)
        , link(port, clock, prompts, settings)
        , control(link, clock)
        , programs(control)
        , backend(control, programs, clock)
        , server(backend, QStringLiteral("qx410ctl"), QStringLiteral("test"))
    {
        settings.portName = QStringLiteral("/dev/ttySIM");
        settings.framing = QStringLiteral("9600,N,8,1");
        link.setRecoveryEnabled(false);
        link.open();
        // A move's wait serves the clients and lets the controller's time run on.
        link.setMessagePump([this] {
            QCoreApplication::processEvents();
            port.waitForData(5);
            return true;
        });
        server.setLimits(limits);
        // A client's travel limits are saved here, not in the current folder.
        control.setLimitsFolder(dir.path());
        path = dir.path() + QStringLiteral("/qx410/sim.sock");
        listening = server.listen(path, &why);
    }

    std::unique_ptr<RpcClient> client()
    {
        auto c = std::make_unique<RpcClient>();
        c->connectTo(path);
        pumpUntil([this, n = server.clientCount()] { return server.clientCount() > n; }, 2000);
        return c;
    }

    QTemporaryDir dir;
    qx410sim::SimController simulator;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings settings;
    SerialLink link;
    ControlLayer control;
    LayerProgramHost programs;
    ControlBackend backend;
    ControlServer server;
    QString path;
    QString why;
    bool listening = false;
};
