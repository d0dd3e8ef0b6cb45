#pragma once

#include <QString>

// Where the local server of a device listens: a socket in a folder only
// the user can reach, named from the device's canonical path so that every
// name of one device (a symbolic link under /dev/serial/by-id, the
// /dev/ttyUSB0 it points to) meets the same server.
class SocketPath {
public:
    // $XDG_RUNTIME_DIR/qx410, or qx410-UID under the temp folder when that
    // variable is unset or empty.
    static QString folder();
    // The device's canonical path as a safe file name: the path itself, when
    // the device does not exist.
    static QString socketName(const QString& device);
    // folder() + "/" + socketName(device).
    static QString forDevice(const QString& device);

    // Creates the folder with mode 0700 when it is missing, then checks that
    // it is a real folder (no symbolic link) owned by this user and closed to
    // everyone else. False with *error set otherwise.
    static bool prepareFolder(const QString& folder, QString* error);
};
