// Saves a picture of the main window, for the documentation:
//   qx410mainwindowgrab OUTPUT.png [SCALE [VIEW]]
// VIEW is start (the manipulator at 0, 0, 0, as after a first start; the
// default), plan (the marker at 4874, -6030, 0 µm and the pointer over the
// XY field, its coordinates in the status bar) or negative (the manipulator
// at -12700, -12345, -12700 µm) or client (a local client's move to 100,
// -200, 3.5 µm under way through the window's own server: the controls
// locked, the target in the desired-position panes, "Clients: 1"). Run by hand or by qx410pictures
// (tests/pictures), which checks its size. The window sits on the in-process
// simulated controller, so nothing is sent anywhere.

#include "CMainFrame.h"
#include "ControlServer.h"
#include "ControlBackend.h"
#include "FrameProgramHost.h"
#include "SimFrame.h"

#include "GrabTool.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QMouseEvent>

namespace {
// The window's server on a socket of its own; one client asks for a move,
// and the window is grabbed while the move runs.
int grabClientMove(CMainFrame& frame, MainFrameState& state, ControlLayer& control, SimFrame& sim, const char* out)
{
    QTemporaryDir dir;
    FrameProgramHost programs(state, control);
    ControlBackend backend(control, programs, sim.clock);
    backend.setOnTarget([&frame](const Position& p) { frame.showDesired(Units::microstepsToMicrons(p)); });
    ControlServer server(backend, QStringLiteral("qx410"), QStringLiteral("grab"));
    QObject::connect(&server, &ControlServer::clientCountChanged, &frame, &CMainFrame::setClientCount);
    QString why;
    if (!server.listen(dir.path() + QStringLiteral("/qx410/sim.sock"), &why))
        return 1;
    QLocalSocket client;
    client.connectToServer(server.path());
    if (!client.waitForConnected(2000))
        return 1;
    int status = 1;
    bool grabbed = false;
    sim.link.setMessagePump([&] {
        if (!grabbed && control.isBusy()) {
            grabbed = true;
            QApplication::processEvents();
            status = GrabTool::save(frame, out);
        }
        QApplication::processEvents();
        sim.port.waitForData(5);
        return true;
    });
    client.write(R"({"jsonrpc":"2.0","id":1,"method":"move","params":{"x":100,"y":-200,"z":3.5}})" "\n");
    client.flush();
    QElapsedTimer waited;
    waited.start();
    while ((!grabbed || control.isBusy() || control.moveInProgress()) && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return status;
}
} // namespace

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410mainwindowgrab OUTPUT.png [SCALE [start|plan|negative|client]]"))
        return 2;
    QApplication app(argc, argv);
    const QString view = argc >= 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("start");

    SimFrame sim;
    if (view == QLatin1String("plan"))
        sim.placeController(Units::micronsToMicrosteps(Position{4874, -6030, 0}));
    else if (view == QLatin1String("negative"))
        sim.placeController(Units::micronsToMicrosteps(Position{-12700, -12345, -12700}));
    else if (view != QLatin1String("start") && view != QLatin1String("client"))
        return 2;
    MainFrameState state;
    ControlLayer control(sim.link, sim.clock);
    CMainFrame frame(state, control, sim.serial, sim.prompts);
    frame.move(80, 30);
    frame.resize(870, 670);
    frame.initialExchange();
    frame.show();
    QApplication::processEvents();
    if (view == QLatin1String("plan")) {
        // The pointer resting over the XY field, left of and below the marker.
        QWidget* plan = frame.centralWidget();
        const QPoint at = plan->mapFrom(&frame, QPoint(220, 370));
        QMouseEvent move(QEvent::MouseMove, at, plan->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plan, &move);
        QApplication::processEvents();
    }
    if (view == QLatin1String("client"))
        return grabClientMove(frame, state, control, sim, argv[1]);
    return GrabTool::save(frame, argv[1]);
}
