#include "DesktopOptions.h"

#include <QCommandLineParser>

DesktopOptions DesktopOptions::parse(const QStringList& arguments)
{
    DesktopOptions o;
    QCommandLineParser parser;
    const QCommandLineOption traceOption(QStringLiteral("trace"),
                                         QStringLiteral("Write the serial traffic with the controller to <file>."),
                                         QStringLiteral("file"));
    parser.addOption(traceOption);
    if (!parser.parse(arguments)) {
        o.error = parser.errorText();
        return o;
    }
    o.trace = parser.value(traceOption);
    if (parser.isSet(traceOption) && o.trace.isEmpty())
        o.error = QStringLiteral("--trace needs a file name");
    return o;
}
