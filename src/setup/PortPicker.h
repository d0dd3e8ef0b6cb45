#pragma once

#include "PortNames.h"
#include "SerialDevices.h"

#include <QList>
#include <QString>

// What the port picker of Setup Communications offers beside each of the
// four port choices, without widgets: the list of devices a port can be
// bound to, which one is selected, and the bindings that result.
//
// Each port's list starts with "Default (/dev/ttyS0)" (no binding), then
// every serial device the system has, named by its stable by-id name where
// there is one, and last a device the port is bound to that is not plugged
// in now, marked "not connected", so that a binding is never lost by
// opening the dialog. A binding keeps its text until the operator picks
// another entry.
class PortPicker
{
public:
    struct Entry
    {
        QString label;  // what the list shows
        QString device; // the binding it stands for; empty for the default
        QString detail; // description, manufacturer, serial number: the tooltip
    };

    PortPicker(const PortNames::Bindings& bindings, const QList<SerialDeviceInfo>& devices);

    // New list of system devices (Rescan); the bindings stay as they are.
    void setDevices(const QList<SerialDeviceInfo>& devices);
    const QList<SerialDeviceInfo>& devices() const { return m_devices; }

    // port 1..4.
    QList<Entry> entries(int port) const;
    int selectedIndex(int port) const;
    // Binds the port to entry index of entries(port); out of range: no change.
    void select(int port, int index);

    const PortNames::Bindings& bindings() const { return m_bindings; }
    // The device the port maps to with the bindings as they are now, and why.
    PortNames::Mapping mapping(int port) const;
    // For the line beside the list: the device, and when an environment
    // variable decides it, "(QX410_COMn overrides the choice)".
    QString mappingText(int port) const;

private:
    static QString labelOf(const SerialDeviceInfo& device);
    static QString detailOf(const SerialDeviceInfo& device);

    PortNames::Bindings m_bindings;
    QList<SerialDeviceInfo> m_devices;
};
