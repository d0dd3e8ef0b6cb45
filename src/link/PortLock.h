#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Who holds a serial device. A program that opens a serial port leaves a
// lock file named LCK..<device> (ttyS0, or pts_3 for /dev/pts/3) in one of the
// system's lock folders; its first line is the holder's process id. An open
// that fails because another program holds the port is reported as "in use"
// rather than as the permission error the serial library gives for it.
class PortLock
{
public:
    static const QString inUseText;

    // The folders lock files are looked for in, in order.
    static QStringList lockFolders();
    // The lock file's name for a device path: LCK.. and the path below /dev
    // with every / made _.
    static QString lockFileName(const QString& device);
    // The process id on the first line of a lock file's text (decimal, blanks
    // around it allowed); 0 when there is none.
    static qint64 pidFromLockText(const QByteArray& text);
    // The process that holds the device by a lock file in one of the folders,
    // when that process still runs and is not this one; 0 otherwise.
    static qint64 holder(const QString& device, const QStringList& folders = lockFolders());
    // The reason for an open that failed, for the messages: "in use by another
    // program" (with the holder's process id when known) when the system's
    // reason says the device is locked or busy, or says permission while a
    // live holder is known; the system's reason otherwise.
    static QString openFailureReason(const QString& systemError, qint64 holderPid);
    // "The port is in use by another program (process N)."; without the
    // process when holderPid is 0.
    static QString inUseReason(qint64 holderPid);
};
