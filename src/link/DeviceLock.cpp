#include "DeviceLock.h"

#include "PortLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

namespace {
QString lockFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/qx410");
    return QDir::tempPath() + QStringLiteral("/qx410-") + QString::number(::getuid());
}
} // namespace

DeviceLock::DeviceLock() = default;

DeviceLock::~DeviceLock() = default;

QString DeviceLock::pathFor(const QString& device)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    QString name = canonical.isEmpty() ? device : canonical;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (name.startsWith(QLatin1Char('_')))
        name.remove(0, 1);
    return lockFolder() + QLatin1Char('/') + name + QStringLiteral(".lock");
}

bool DeviceLock::acquire(const QString& device, QString* error)
{
    release();
    const QString path = pathFor(device);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder))
            return true;
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    auto lock = std::make_unique<QLockFile>(path);
    // Only a holder that no longer runs frees the lock, however long it holds it.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        return true;
    }
    if (lock->error() != QLockFile::LockFailedError)
        return true; // no lock can be written here
    qint64 pid = 0;
    lock->getLockInfo(&pid, nullptr, nullptr);
    *error = PortLock::inUseReason(pid);
    return false;
}

void DeviceLock::release()
{
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}
