#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One desktop program per settings folder: two windows on one folder would
// write each other's Qx410.ini and fight over the same port. The lock is a
// QLockFile, Qx410.lock, in the folder, held while the program runs; the
// lock of a process that has died is taken over. A folder where no lock
// can be made (read-only) does not stop the program: it runs without one.
class InstanceLock
{
public:
    static constexpr const char* fileName = "Qx410.lock";

    // Empty folder: the current folder.
    explicit InstanceLock(const QString& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this program may run: the lock is taken, or the folder
    // allows none. False when another live program holds it; refusal()
    // then says so.
    bool acquire();
    bool held() const;
    // "Another Qx410 window (process 1840) already uses the settings in
    // /home/ana. Close it, or start this one with --settings and another
    // folder." The process is left out when the lock does not name it.
    QString refusal() const;

private:
    QString m_folder; // canonical
    std::unique_ptr<QLockFile> m_lock;
    qint64 m_holder = 0; // the process that holds the lock, when known
};
