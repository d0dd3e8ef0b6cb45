#include "PortPicker.h"

#include <QStringList>

PortPicker::PortPicker(const PortNames::Bindings& bindings, const QList<SerialDeviceInfo>& devices)
    : m_bindings(bindings)
    , m_devices(devices)
{
    for (QString& bound : m_bindings)
        bound = bound.trimmed();
}

void PortPicker::setDevices(const QList<SerialDeviceInfo>& devices)
{
    m_devices = devices;
}

QString PortPicker::labelOf(const SerialDeviceInfo& device)
{
    QString label = device.stableName();
    if (!device.byIdPath.isEmpty())
        label += QStringLiteral("  (") + device.systemLocation + QLatin1Char(')');
    return label;
}

QString PortPicker::detailOf(const SerialDeviceInfo& device)
{
    QStringList parts;
    for (const QString& text : {device.systemLocation, device.description, device.manufacturer})
        if (!text.isEmpty())
            parts << text;
    if (!device.serialNumber.isEmpty())
        parts << QStringLiteral("serial number ") + device.serialNumber;
    return parts.join(QStringLiteral(", "));
}

QList<PortPicker::Entry> PortPicker::entries(int port) const
{
    QList<Entry> list;
    if (port < 1 || port > PortNames::portCount)
        return list;
    const QString fallback = PortNames::defaultDevice(port);
    list.append({QStringLiteral("Default (%1)").arg(fallback), QString(), QStringLiteral("No binding: ") + fallback});

    const QString& bound = m_bindings[port - 1];
    bool boundIsPresent = bound.isEmpty();
    for (const SerialDeviceInfo& device : m_devices) {
        Entry entry{labelOf(device), device.stableName(), detailOf(device)};
        if (device.matches(bound)) {
            // Keep the binding's own text for the device it names.
            entry.device = bound;
            boundIsPresent = true;
        }
        list.append(entry);
    }
    if (!boundIsPresent)
        list.append({bound + QStringLiteral("  (not connected)"), bound, QStringLiteral("Not connected now")});
    return list;
}

int PortPicker::selectedIndex(int port) const
{
    if (port < 1 || port > PortNames::portCount)
        return -1;
    const QList<Entry> list = entries(port);
    const QString& bound = m_bindings[port - 1];
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].device == bound)
            return i;
    }
    return 0;
}

void PortPicker::select(int port, int index)
{
    if (port < 1 || port > PortNames::portCount)
        return;
    const QList<Entry> list = entries(port);
    if (index < 0 || index >= list.size())
        return;
    m_bindings[port - 1] = list[index].device;
}

PortNames::Mapping PortPicker::mapping(int port) const
{
    return PortNames::resolve(QStringLiteral("COM%1").arg(port), m_bindings);
}

QString PortPicker::mappingText(int port) const
{
    const PortNames::Mapping m = mapping(port);
    if (m.source == PortNames::Source::Variable)
        return m.device + QStringLiteral("  (") + PortNames::variableName(port) + QStringLiteral(" overrides the choice)");
    return m.device;
}
