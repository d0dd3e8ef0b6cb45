// The desktop program's local server: clients reach the controller through
// the control layer that the main window observes.

#include "CMainFrame.h"
#include "ControlLayer.h"
#include "ControlServer.h"
#include "ControlBackend.h"
#include "FrameProgramHost.h"
#include "MainActions.h"
#include "PaneBar.h"
#include "RpcClient.h"
#include "RpcProtocol.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SerialSettings.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A client connected to the window's server.
struct Client : RpcClient
{
    explicit Client(const QString& path) { connectTo(path); }
};

// The main window offscreen on the in-process simulated controller, its
// server listening in a folder of its own.
struct Desk
{
    Desk()
        : port(simulator, clock)
        , link(port, clock, prompts, serial)
        , control(link, clock)
    {
        link.open();
        frame = std::make_unique<CMainFrame>(state, control, serial, prompts);
        frame->initialExchange();
        programs = std::make_unique<FrameProgramHost>(state, control);
        backend = std::make_unique<ControlBackend>(control, *programs, clock);
        backend->setOnTarget([this](const Position& p) { frame->showDesired({p.x / 25, p.y / 25, p.z / 25}); });
        server = std::make_unique<ControlServer>(*backend, QStringLiteral("qx410"), QStringLiteral("test"));
        backend->setEventSink([this](const ServerEvent& e) { server->publish(e); });
        QObject::connect(server.get(), &ControlServer::clientCountChanged, frame.get(), &CMainFrame::setClientCount);
        path = dir.path() + QStringLiteral("/qx410/sim.sock");
        QString why;
        listening = server->listen(path, &why);
        // A move's wait serves the clients and lets the controller's time run on.
        link.setMessagePump([this] {
            if (during) {
                during();
                during = nullptr;
            }
            QCoreApplication::processEvents();
            port.waitForData(5);
            return true;
        });
    }

    bool menusEnabled() const { return frame->actions().menus()[0]->menuAction()->isEnabled(); }

    QTemporaryDir dir;
    qx410sim::SimController simulator;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings serial;
    SerialLink link;
    ControlLayer control;
    MainFrameState state;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<FrameProgramHost> programs;
    std::unique_ptr<ControlBackend> backend;
    std::unique_ptr<ControlServer> server;
    QString path;
    bool listening = false;
    std::function<void()> during;
};

const QJsonObject kTarget{{"x", 100}, {"y", -200}, {"z", 3.5}};

} // namespace

// A client's move locks the window as its own move does, shows its target
// in the desired-position panes and moves the marker; a second client's
// move meanwhile is refused at once.
TEST(DesktopServer, ClientMoveLocksTheWindowAndASecondMoveIsBusy)
{
    Desk d;
    ASSERT_TRUE(d.listening);
    Client first(d.path);
    Client second(d.path);
    bool lockedDuring = false;
    QJsonObject secondReply;
    d.during = [&] {
        lockedDuring = !d.menusEnabled() && d.control.isBusy();
        second.call("move", kTarget);
        secondReply = second.reply();
    };
    first.call("move", kTarget);
    const QJsonObject reply = first.reply();

    EXPECT_TRUE(lockedDuring);
    EXPECT_EQ(errorCode(secondReply), RpcProtocol::busyError);
    EXPECT_FALSE(reply.contains("error")) << QJsonDocument(reply).toJson().constData();
    EXPECT_TRUE(d.menusEnabled());
    const Position target{2500, -5000, 88};
    EXPECT_EQ(d.control.state().lastDrawn, target);
    EXPECT_EQ(d.frame->paneBar()->paneText(3), QStringLiteral("\t100"));
    EXPECT_EQ(d.frame->paneBar()->paneText(5), QStringLiteral("\t-200"));
}

// Stop from a client goes through during the window's own move.
TEST(DesktopServer, ClientStopEndsTheWindowsMove)
{
    Desk d;
    Client client(d.path);
    QJsonObject stopReply;
    d.during = [&] {
        client.call("stop");
        stopReply = client.reply();
    };
    const Position far{25 * 50000, 0, 0};
    d.frame->moveTo(far);

    EXPECT_TRUE(stopReply.contains("result")) << QJsonDocument(stopReply).toJson().constData();
    EXPECT_FALSE(d.control.isBusy());
    EXPECT_NE(d.control.currentPosition(), far);
}

// While the recovery prompt is open, whatever needs the wire is a
// controller error; answered, the requests go through again.
TEST(DesktopServer, ControllerErrorsWhileTheRecoveryPromptIsOpen)
{
    Desk d;
    Client client(d.path);
    d.backend->setRecovering(true);
    const struct {
        const char* method;
        QJsonObject params;
    } requests[] = {{"position", {}}, {"move", kTarget}, {"status", {}}, {"velocity", {{"velocity", 500}}},
                    {"refresh", {}}, {"stop", {}}, {"programs", {}}};
    for (const auto& r : requests) {
        client.call(r.method, r.params);
        const QJsonObject reply = client.reply();
        EXPECT_EQ(errorCode(reply), RpcProtocol::controllerError) << r.method;
        if (QLatin1String(r.method) == QLatin1String("position")) {
            EXPECT_EQ(reply.value("error").toObject().value("message").toString(), ControlBackend::resettingText);
        }
    }
    d.backend->setRecovering(false);
    client.call("position");
    EXPECT_TRUE(client.reply().contains("result"));

    // Also when the prompt came up during another client's move.
    Client other(d.path);
    int duringMove = 0;
    d.during = [&] {
        d.backend->setRecovering(true);
        other.call("move", kTarget);
        duringMove = errorCode(other.reply());
        d.backend->setRecovering(false);
    };
    client.call("move", kTarget);
    client.reply();
    EXPECT_EQ(duringMove, RpcProtocol::controllerError);
}

// The message bar counts the connected clients, and shows nothing for none.
TEST(DesktopServer, MessageBarCountsTheClients)
{
    Desk d;
    EXPECT_EQ(d.frame->clientCountText(), QString());
    auto first = std::make_unique<Client>(d.path);
    Client second(d.path);
    EXPECT_TRUE(pumpUntil([&] { return d.frame->clientCountText() == QStringLiteral("Clients: 2"); }));
    first.reset();
    EXPECT_TRUE(pumpUntil([&] { return d.frame->clientCountText() == QStringLiteral("Clients: 1"); }));
    second.socket.disconnectFromServer();
    EXPECT_TRUE(pumpUntil([&] { return d.frame->clientCountText().isEmpty(); }));
}

// Set Origin from a client: the controller's position becomes 0 0 0 and the
// window's read-out follows it.
TEST(DesktopServer, ClientOriginZeroesTheReadOut)
{
    Desk d;
    Client client(d.path);
    client.call("move", kTarget);
    client.reply();
    client.call("origin");
    const QJsonObject reply = client.reply();

    EXPECT_FALSE(reply.contains("error")) << QJsonDocument(reply).toJson().constData();
    EXPECT_EQ(d.control.currentPosition(), Position{});
    EXPECT_EQ(d.control.displayedPosition(), Position{});
}
