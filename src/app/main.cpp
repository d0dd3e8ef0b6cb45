// qx410: the desktop host program for the QX-410 micromanipulator controller.

#include "CQx410App.h"
#include "DesktopOptions.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qx410"));
    const DesktopOptions options = DesktopOptions::parse(QApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "qx410: %s\nUsage: qx410 [--trace FILE]\n", qPrintable(options.error));
        return 1;
    }
    CQx410App qx410;
    QString why;
    if (!options.trace.isEmpty() && !qx410.traceTo(options.trace, &why)) {
        std::fprintf(stderr, "qx410: cannot write the trace file %s: %s\n", qPrintable(options.trace), qPrintable(why));
        return 1;
    }
    return qx410.run();
}
