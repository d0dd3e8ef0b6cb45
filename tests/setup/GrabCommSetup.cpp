// Saves a picture of Setup Communications, for the documentation:
//   qx410setupgrab OUTPUT.png [SCALE]
// Run by hand; nothing in the test suite calls it.

#include "CommSetupDialog.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        QTextStream(stderr) << "usage: qx410setupgrab OUTPUT.png [SCALE]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3)
        qputenv("QT_SCALE_FACTOR", argv[2]);
    QApplication app(argc, argv);
    CommSetupDialog dialog(CommChoice{ 1, "9600" });
    dialog.show();
    QApplication::processEvents();
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!dialog.grab().save(out)) {
        QTextStream(stderr) << "cannot write " << out << "\n";
        return 1;
    }
    return 0;
}
