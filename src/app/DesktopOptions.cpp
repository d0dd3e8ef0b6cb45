#include "DesktopOptions.h"

#include "SettingsFolder.h"

#include <QCommandLineParser>

DesktopOptions DesktopOptions::parse(const QStringList& arguments)
{
    DesktopOptions o;
    QCommandLineParser parser;
    const QCommandLineOption traceOption(QStringLiteral("trace"),
                                         QStringLiteral("Write the serial traffic with the controller to <file>."),
                                         QStringLiteral("file"));
    const QCommandLineOption settingsOption(
        QStringLiteral("settings"), QStringLiteral("Keep Qx410.ini and Qx410.ports in <dir>."), QStringLiteral("dir"));
    parser.addOption(traceOption);
    parser.addOption(settingsOption);
    if (!parser.parse(arguments)) {
        o.error = parser.errorText();
        return o;
    }
    o.trace = parser.value(traceOption);
    if (parser.isSet(traceOption) && o.trace.isEmpty()) {
        o.error = QStringLiteral("--trace needs a file name");
        return o;
    }
    if (parser.isSet(settingsOption)) {
        o.settings = parser.value(settingsOption);
        o.error = SettingsFolder::refusal(o.settings);
    }
    return o;
}
