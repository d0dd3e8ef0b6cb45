#pragma once

#include <QString>

#include <memory>

class QLockFile;

// This user's lock on one serial device, named from the device's canonical
// path, so that every name of it (a link under /dev/serial/by-id, the
// /dev/ttyUSB0 it points to) meets the same lock. The system's own exclusive
// open does not stop a second open by root, nor one under another name; this
// lock does. It lives in the folder the local server's sockets use
// ($XDG_RUNTIME_DIR/qx410, else qx410-UID under the temp folder) and holds
// the process id of its holder; a holder that has died leaves it free.
class DeviceLock
{
public:
    DeviceLock();
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // Takes the lock for device. False with the reason in *error ("The port
    // is in use by another program (process N).") when another holder has
    // it. A folder that cannot be made takes no lock and is no failure: the
    // system's exclusive open still applies.
    bool acquire(const QString& device, QString* error);
    void release();

    // The lock file's path for a device.
    static QString pathFor(const QString& device);

private:
    std::unique_ptr<QLockFile> m_lock;
};
