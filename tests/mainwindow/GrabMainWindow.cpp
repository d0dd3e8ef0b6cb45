// Saves a picture of the main window, for the documentation:
//   qx410mainwindowgrab OUTPUT.png [SCALE [VIEW]]
// VIEW is start (the manipulator at 0, 0, 0, as after a first start; the
// default), plan (the marker at 4874, -6030, 0 µm and the pointer over the
// XY field, its coordinates in the status bar) or negative (the manipulator
// at -12700, -12345, -12700 µm). Run by hand or by qx410pictures
// (tests/pictures), which checks its size. The window sits on the in-process
// simulated controller, so nothing is sent anywhere.

#include "CMainFrame.h"
#include "SimFrame.h"

#include "GrabTool.h"

#include <QApplication>
#include <QMouseEvent>

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410mainwindowgrab OUTPUT.png [SCALE [start|plan|negative]]"))
        return 2;
    QApplication app(argc, argv);
    const QString view = argc >= 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("start");

    SimFrame sim;
    if (view == QLatin1String("plan"))
        sim.placeController(Units::micronsToMicrosteps(Position{4874, -6030, 0}));
    else if (view == QLatin1String("negative"))
        sim.placeController(Units::micronsToMicrosteps(Position{-12700, -12345, -12700}));
    else if (view != QLatin1String("start"))
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
    return GrabTool::save(frame, argv[1]);
}
