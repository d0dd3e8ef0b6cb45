#pragma once

#include <QString>

// Maps the port names the operator sees ("COM1" .. "COM4") to devices. On
// Linux a name maps to the environment variable QX410_COM1 .. QX410_COM4 when
// it is set, else to /dev/ttyS0 .. /dev/ttyS3; on Windows a name maps to
// itself. Any other text is taken as a device path as it stands, so the
// command line can name a device directly.
class PortNames
{
public:
    static QString deviceFor(const QString& portName);
    // 1..4 for "COM1".."COM4" exactly, 0 otherwise.
    static int comNumber(const QString& portName);
};
