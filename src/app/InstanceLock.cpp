#include "InstanceLock.h"

#include "SettingsFolder.h"

InstanceLock::InstanceLock(const QString& folder)
    : m_folder(SettingsFolder::canonical(folder))
    , m_lock(std::make_unique<QLockFile>(SettingsFolder::file(m_folder, QString::fromLatin1(fileName))))
{
    // The lock lasts as long as the program, however long it runs: only a
    // holder that has died makes it stale, never its age.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire()
{
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() != QLockFile::LockFailedError)
        return true; // no lock can be made here (read-only folder): run without
    QString host;
    QString application;
    if (m_lock->getLockInfo(&m_holder, &host, &application))
        return false;
    // A lock file that names no process was left half written: a live
    // holder keeps it locked, so only a dead one's goes.
    m_lock->removeStaleLockFile();
    if (m_lock->tryLock(0) || m_lock->error() != QLockFile::LockFailedError)
        return true;
    m_holder = 0;
    return false;
}

bool InstanceLock::held() const
{
    return m_lock->isLocked();
}

QString InstanceLock::refusal() const
{
    const QString window = m_holder > 0 ? QStringLiteral("Another Qx410 window (process %1)").arg(m_holder)
                                        : QStringLiteral("Another Qx410 window");
    return QStringLiteral("%1 already uses the settings in %2. Close it, or start this one with --settings and "
                          "another folder.")
        .arg(window, m_folder);
}
