// Saves a picture of the main window with the manipulator at -12700, -12345,
// -12700 µm, for the documentation:
//   qx410mainwindowgrab OUTPUT.png [SCALE]
// Run by hand; nothing in the test suite calls it. The window sits on the
// in-process simulated controller, so nothing is sent anywhere.

#include "CMainFrame.h"
#include "SimFrame.h"

#include "GrabTool.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410mainwindowgrab OUTPUT.png [SCALE]"))
        return 2;
    QApplication app(argc, argv);

    SimFrame sim;
    sim.placeController(Units::micronsToMicrosteps(Position{-12700, -12345, -12700}));
    MainFrameState state;
    ControlLayer control(sim.link, sim.clock);
    CMainFrame frame(state, control, sim.serial, sim.prompts);
    frame.move(80, 30);
    frame.resize(870, 670);
    frame.initialExchange();
    frame.show();
    QApplication::processEvents();
    return GrabTool::save(frame, argv[1]);
}
