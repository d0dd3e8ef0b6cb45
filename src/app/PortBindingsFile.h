#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The port bindings file "Qx410.ports" beside the settings file: which
// device each of the port names COM1 .. COM4 stands for, as chosen in Setup
// Communications. One line per bound port, the name, one space and the
// device:
//
//   COM1 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0
//
// Reading takes lines ending in LF or CR LF; blank lines and lines starting
// with '#' are skipped; the name and the device may be separated by any
// spaces or tabs, and the device runs to the end of the line (trailing
// blanks dropped). A line that names no port COM1 .. COM4, has no device, or
// names a port a line before it already bound is a bad line: it is skipped
// and reported, the other lines still count. Standard library only.
class PortBindingsFile
{
public:
    static constexpr const char* fileName = "Qx410.ports";
    static constexpr int portCount = 4;
    static constexpr std::size_t maxReadBytes = 65536;

    // devices[0] for COM1 .. devices[3] for COM4; empty = not bound.
    using Devices = std::array<std::string, portCount>;

    struct Contents
    {
        Devices devices;
        std::vector<int> badLines; // 1-based line numbers
    };

    // Nothing when the file is missing or cannot be read; in the second case
    // unreadable, when given, receives why (see WholeFileReader: only a
    // regular file of at most maxReadBytes is read).
    static std::optional<Contents> read(const std::string& path, std::string* unreadable = nullptr);
    static Contents parse(const std::string& text);
    // One line per bound port, COM1 first, each ended by LF.
    static std::string format(const Devices& devices);
    // Replaces the file atomically (see FileReplacer). False, leaving the old
    // file as it was, when it cannot be written or a device could not be read
    // back as written (a line break in it).
    static bool write(const std::string& path, const Devices& devices);
};
