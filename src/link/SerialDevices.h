#pragma once

#include <QList>
#include <QString>

// One serial device the system has, as Qt's serial port information
// describes it, with the stable name udev gives it under /dev/serial/by-id
// when there is one.
struct SerialDeviceInfo
{
    QString systemLocation; // e.g. /dev/ttyUSB0
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString byIdPath; // e.g. /dev/serial/by-id/usb-FTDI_..._A50285BI-if00-port0; empty when none

    // The name to bind a port to: the by-id name when there is one, because
    // it stays the same when adapters are plugged in in another order.
    QString stableName() const { return byIdPath.isEmpty() ? systemLocation : byIdPath; }
    // Whether device (a path as bound or typed) names this device.
    bool matches(const QString& device) const;
};

// Lists the serial devices the system has.
class SerialDevices
{
public:
    static constexpr const char* byIdFolder = "/dev/serial/by-id";

    // The system's serial devices, sorted by system location, each with its
    // by-id name looked up in folder.
    static QList<SerialDeviceInfo> scan(const QString& folder = QString::fromLatin1(byIdFolder));
    // Fills in byIdPath for each device from the symbolic links in folder
    // that lead to its system location.
    static void attachByIdNames(QList<SerialDeviceInfo>& devices, const QString& folder);
};
