// Saves a picture of the Define Position dialog, for the documentation:
//   qx410positionsgrab OUTPUT.png [SCALE]
// Run by hand or by qx410pictures (tests/pictures), which checks its size.
// The dialog sits on the
// in-process simulated controller, so nothing is sent anywhere.

#include "DefinePositionDialog.h"
#include "SimFrame.h"
#include "StoredPositions.h"

#include "GrabTool.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410positionsgrab OUTPUT.png [SCALE]"))
        return 2;
    QApplication app(argc, argv);

    SimFrame frame;
    DefinePosition definition(StoredPositions::dialogTitle(StoredSlots::Position1), Position{1250, -3400, 500},
                              frame.ops, frame.prompts);
    DefinePositionDialog dialog(definition);
    dialog.show();
    QApplication::processEvents();
    return GrabTool::save(dialog, argv[1]);
}
