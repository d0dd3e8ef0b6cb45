// Saves a picture of the Define Position dialog, for the documentation:
//   qx410positionsgrab OUTPUT.png [SCALE]
// Run by hand; nothing in the test suite calls it. The dialog sits on the
// in-process simulated controller, so nothing is sent anywhere.

#include "DefinePositionDialog.h"
#include "SimFrame.h"
#include "StoredPositions.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        QTextStream(stderr) << "usage: qx410positionsgrab OUTPUT.png [SCALE]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3)
        qputenv("QT_SCALE_FACTOR", argv[2]);
    QApplication app(argc, argv);

    SimFrame frame;
    DefinePosition definition(StoredPositions::dialogTitle(MainFrameState::Position1), Position{1250, -3400, 500},
                              frame.state, frame.ops, frame.prompts);
    DefinePositionDialog dialog(definition);
    dialog.show();
    QApplication::processEvents();
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!dialog.grab().save(out)) {
        QTextStream(stderr) << "cannot write " << out << "\n";
        return 1;
    }
    return 0;
}
