// qx410: the desktop host program for the QX-410 micromanipulator controller.

#include "CQx410App.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qx410"));
    CQx410App qx410;
    return qx410.run();
}
