#include "DesktopCommandLine.h"

#include "Qx410Version.h"

#include <cstring>

std::string DesktopCommandLine::help()
{
    return "Usage: qx410 [OPTION]...\n"
           "The desktop program for the QX-410 three-axis micromanipulator controller:\n"
           "position read-out, moves and stored positions, velocity and resolution,\n"
           "command files and controller programs.\n"
           "\n"
           "Options:\n"
           "  --trace FILE     write every exchange with the controller to FILE, one line\n"
           "                   each (time, direction, bytes in hex, command name), as\n"
           "                   View > Serial Traffic shows them\n"
           "  --settings DIR   keep Qx410.ini and Qx410.ports in the folder DIR instead\n"
           "                   of the current folder, e.g. one folder per rig; DIR must\n"
           "                   exist. One window at a time may use a folder: a second\n"
           "                   qx410 on it names the first and ends\n"
           "  -h, --help       display this help and exit\n"
           "  -v, --version    display the version and exit\n"
           "\n"
           "Qt's own options, for example -platform offscreen or -style Fusion, are\n"
           "accepted too.\n"
           "\n"
           "Files:\n"
           "  Qx410.ini    in the folder qx410 is started from, or in --settings DIR:\n"
           "               the settings (port, baud rate, velocity, resolution, step\n"
           "               size, stored positions), written when the program closes.\n"
           "               Without it, qx410 asks for the port first.\n"
           "  Qx410.ports  beside Qx410.ini: the serial device each of COM1 ... COM4 is\n"
           "               bound to in Setup > Communications, one line each, such as\n"
           "               COM1 /dev/serial/by-id/...\n"
           "  Qx410.lock   beside Qx410.ini while a qx410 window uses the folder.\n"
           "\n"
           "Environment:\n"
           "  QX410_COM1 ... QX410_COM4  the serial device that COM1 ... COM4 stand for,\n"
           "                             ahead of Qx410.ports; without either,\n"
           "                             /dev/ttyS0 ... /dev/ttyS3.\n";
}

std::string DesktopCommandLine::version()
{
    return "qx410 " QX410_VERSION "\n";
}

std::optional<int> DesktopCommandLine::answer(int argc, const char* const* argv, std::ostream& out)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            break;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            out << help();
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0 || std::strcmp(arg, "-v") == 0) {
            out << version();
            return 0;
        }
    }
    return std::nullopt;
}
