// Saves a picture of the Serial Traffic window after a move, for the
// documentation:
//   qx410trafficgrab OUTPUT.png [SCALE]
// Run by hand or by qx410pictures (tests/pictures), which checks its size.
// The window watches the
// in-process simulated controller, so nothing is sent anywhere.

#include "TrafficRig.h"
#include "TrafficWindow.h"
#include "VelocityWord.h"

#include "GrabTool.h"

#include <QApplication>
#include <QTableView>

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410trafficgrab OUTPUT.png [SCALE]"))
        return 2;
    QApplication app(argc, argv);

    TrafficRig rig;
    TrafficWindow traffic(rig.traced, rig.prompts);
    traffic.resize(720, 300);
    traffic.show();

    // Velocity 1000 at low resolution, then a move to X 1000, Y -1, Z 0 µm
    // as the main window makes it: the move, its completion byte, and the
    // position read twice.
    rig.control.setVelocity(VelocityWord::encode(1000, false));
    rig.ops.absoluteMove(Position{25000, -25, 0});

    // No focus frame on the first cell in the picture.
    traffic.findChild<QTableView*>(QStringLiteral("trafficTable"))->setCurrentIndex(QModelIndex());
    QApplication::processEvents();
    return GrabTool::save(traffic, argv[1]);
}
