// qx410ctl: the scripting front end to the QX-410 controller.

#include "ConsolePrompts.h"
#include "CtlOptions.h"
#include "CtlRunner.h"
#include "QtSerialPortDevice.h"
#include "SystemClock.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const CtlOptions options = CtlOptions::parse(app.arguments());
    if (options.outcome == CtlOptions::Outcome::Help) {
        out << CtlOptions::usage();
        return CtlRunner::Done;
    }
    if (options.outcome == CtlOptions::Outcome::Version) {
        out << CtlOptions::version() << "\n";
        return CtlRunner::Done;
    }
    if (options.outcome == CtlOptions::Outcome::UsageError) {
        // The message and where the commands are listed: the whole help would
        // push the message out of sight.
        err << "qx410ctl: " << options.error << "\nTry 'qx410ctl --help' for the commands and options.\n";
        return CtlRunner::Usage;
    }

    QtSerialPortDevice port;
    SystemClock clock;
    ConsolePrompts prompts;
    CtlRunner runner(port, clock, prompts, out, err);
    return runner.run(options);
}
