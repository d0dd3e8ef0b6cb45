#include "PortLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

const QString PortLock::inUseText = QStringLiteral("The port is in use by another program");

namespace {

bool isRunning(qint64 pid)
{
    if (pid <= 0)
        return false;
#ifdef Q_OS_UNIX
    // Signal 0 only asks whether the process exists; EPERM means it does but
    // belongs to another user.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
    return false;
#endif
}

qint64 holderByName(const QString& fileName, const QStringList& folders)
{
    for (const QString& folder : folders) {
        QFile lock(QDir(folder).filePath(fileName));
        if (!lock.open(QIODevice::ReadOnly))
            continue;
        const qint64 pid = PortLock::pidFromLockText(lock.read(256));
        if (isRunning(pid) && pid != QCoreApplication::applicationPid())
            return pid;
    }
    return 0;
}

} // namespace

QStringList PortLock::lockFolders()
{
    return { QStringLiteral("/var/lock"), QStringLiteral("/run/lock"), QStringLiteral("/etc/locks"),
             QStringLiteral("/var/spool/locks"), QStringLiteral("/var/spool/uucp"), QStringLiteral("/tmp"),
             QStringLiteral("/var/tmp"), QDir::tempPath() };
}

QString PortLock::lockFileName(const QString& device)
{
    QString name = device;
    if (name.startsWith(QLatin1String("/dev/")))
        name = name.mid(5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + name;
}

qint64 PortLock::pidFromLockText(const QByteArray& text)
{
    const int end = text.indexOf('\n');
    bool ok = false;
    const qint64 pid = text.left(end < 0 ? text.size() : end).trimmed().toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

qint64 PortLock::holder(const QString& device, const QStringList& folders)
{
    if (device.isEmpty())
        return 0;
    if (const qint64 pid = holderByName(lockFileName(device), folders))
        return pid;
    // A link such as /dev/serial/by-id/... may be locked under the device it names.
    const QString target = QFileInfo(device).canonicalFilePath();
    if (!target.isEmpty() && target != device)
        return holderByName(lockFileName(target), folders);
    return 0;
}

QString PortLock::openFailureReason(const QString& systemError, qint64 holderPid)
{
    const bool lockedOrBusy = systemError.contains(QLatin1String("locking"), Qt::CaseInsensitive)
        || systemError.contains(QLatin1String("busy"), Qt::CaseInsensitive);
    const bool permission = systemError.contains(QLatin1String("permission"), Qt::CaseInsensitive);
    if (!lockedOrBusy && !(permission && holderPid > 0))
        return systemError;
    return inUseReason(holderPid);
}

QString PortLock::inUseReason(qint64 holderPid)
{
    if (holderPid > 0)
        return QStringLiteral("%1 (process %2).").arg(inUseText).arg(holderPid);
    return inUseText + QLatin1Char('.');
}
