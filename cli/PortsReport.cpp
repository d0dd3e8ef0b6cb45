#include "PortsReport.h"

#include "JsonLine.h"

#include <QStringList>

namespace {

QString why(const PortNames::Mapping& mapping, int port)
{
    switch (mapping.source) {
    case PortNames::Source::Variable:
        return QStringLiteral("variable ") + PortNames::variableName(port);
    case PortNames::Source::File:
        return QStringLiteral("file Qx410.ports");
    default:
        return PortNames::sourceName(mapping.source);
    }
}

QString describe(const SerialDeviceInfo& d)
{
    QStringList parts;
    if (!d.byIdPath.isEmpty())
        parts << d.systemLocation + QStringLiteral(" = ") + d.byIdPath;
    else
        parts << d.systemLocation;
    for (const QString& text : {d.description, d.manufacturer})
        if (!text.isEmpty())
            parts << text;
    if (!d.serialNumber.isEmpty())
        parts << QStringLiteral("serial ") + d.serialNumber;
    return parts.join(QStringLiteral(", "));
}

} // namespace

void PortsReport::print(QTextStream& out, bool json, const PortNames::Bindings& bindings,
                        const QList<SerialDeviceInfo>& devices)
{
    for (int n = 1; n <= PortNames::portCount; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        const PortNames::Mapping mapping = PortNames::resolve(name, bindings);
        if (json)
            out << JsonLine::of({{QStringLiteral("com"), name},
                                 {QStringLiteral("device"), mapping.device},
                                 {QStringLiteral("source"), PortNames::sourceName(mapping.source)}})
                << "\n";
        else
            out << name << ' ' << mapping.device << " (" << why(mapping, n) << ")\n";
    }
    if (!json)
        out << "Serial devices:" << (devices.isEmpty() ? " none found\n" : "\n");
    for (const SerialDeviceInfo& d : devices) {
        if (json)
            out << JsonLine::of({{QStringLiteral("systemLocation"), d.systemLocation},
                                 {QStringLiteral("byId"), d.byIdPath},
                                 {QStringLiteral("description"), d.description},
                                 {QStringLiteral("manufacturer"), d.manufacturer},
                                 {QStringLiteral("serialNumber"), d.serialNumber}})
                << "\n";
        else
            out << "  " << describe(d) << "\n";
    }
}
