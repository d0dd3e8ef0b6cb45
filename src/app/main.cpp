// qx410: the desktop host program for the QX-410 micromanipulator controller.

#include "CQx410App.h"
#include "DesktopCommandLine.h"
#include "DesktopOptions.h"
#include "Qx410Icon.h"

#include <QApplication>

#include <cstdio>
#include <iostream>

int main(int argc, char* argv[])
{
    if (const std::optional<int> answered = DesktopCommandLine::answer(argc, argv, std::cout))
        return *answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qx410"));
    // The icon of every window, and the desktop entry that names it for the
    // window system (the taskbar shows the entry's icon and name).
    QApplication::setWindowIcon(Qx410Icon::icon());
    QGuiApplication::setDesktopFileName(QStringLiteral("qx410"));
    const DesktopOptions options = DesktopOptions::parse(QApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "qx410: %s\nUsage: qx410 [--trace FILE] [--settings DIR]\n", qPrintable(options.error));
        return 1;
    }
    CQx410App qx410;
    qx410.setSettingsFolder(options.settings);
    QString why;
    if (!options.trace.isEmpty() && !qx410.traceTo(options.trace, &why)) {
        std::fprintf(stderr, "qx410: cannot write the trace file %s: %s\n", qPrintable(options.trace), qPrintable(why));
        return 1;
    }
    return qx410.run();
}
