#include "SerialDevices.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace {

QString canonical(const QString& path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
}

} // namespace

bool SerialDeviceInfo::matches(const QString& device) const
{
    if (device.isEmpty())
        return false;
    if (device == systemLocation || (!byIdPath.isEmpty() && device == byIdPath))
        return true;
    return canonical(device) == canonical(systemLocation);
}

void SerialDevices::attachByIdNames(QList<SerialDeviceInfo>& devices, const QString& folder)
{
    const QDir dir(folder);
    const QFileInfoList links = dir.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (SerialDeviceInfo& device : devices) {
        const QString target = canonical(device.systemLocation);
        for (const QFileInfo& link : links) {
            if (link.isSymLink() && canonical(link.absoluteFilePath()) == target) {
                device.byIdPath = link.absoluteFilePath();
                break;
            }
        }
    }
}

QList<SerialDeviceInfo> SerialDevices::scan(const QString& folder)
{
    QList<SerialDeviceInfo> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDeviceInfo d;
        d.systemLocation = info.systemLocation();
        d.description = info.description();
        d.manufacturer = info.manufacturer();
        d.serialNumber = info.serialNumber();
        devices.append(d);
    }
    std::sort(devices.begin(), devices.end(), [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) {
        return a.systemLocation < b.systemLocation;
    });
    attachByIdNames(devices, folder);
    return devices;
}
