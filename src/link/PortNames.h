#pragma once

#include <QString>
#include <array>

// Maps the port names the operator sees ("COM1" .. "COM4") to devices. On
// Linux a name maps to the environment variable QX410_COM1 .. QX410_COM4 when
// it is set, else to the device the port bindings file binds it to, else to
// /dev/ttyS0 .. /dev/ttyS3; on Windows a name maps to itself. Any other text
// is taken as a device path as it stands, so the command line can name a
// device directly.
class PortNames
{
public:
    static constexpr int portCount = 4;

    // The devices bound to COM1 .. COM4 (index 0 .. 3); empty = not bound.
    using Bindings = std::array<QString, portCount>;

    // Why a port name maps to its device.
    enum class Source { Variable, File, Default, Direct };

    struct Mapping
    {
        QString device;
        Source source = Source::Default;
    };

    static Mapping resolve(const QString& portName, const Bindings& bindings);
    // resolve() without bindings.
    static QString deviceFor(const QString& portName);
    // 1..4 for "COM1".."COM4" exactly, 0 otherwise.
    static int comNumber(const QString& portName);
    // "QX410_COM1" .. "QX410_COM4".
    static QString variableName(int port);
    // The device a port maps to without variable or binding.
    static QString defaultDevice(int port);
    // "variable", "file", "default" or "device".
    static QString sourceName(Source source);
};
