#include "SettingsFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {
QDir folderOf(const QString& folder)
{
    return folder.isEmpty() ? QDir::current() : QDir(folder);
}
} // namespace

QString SettingsFolder::refusal(const QString& dir)
{
    if (dir.isEmpty())
        return QStringLiteral("--settings needs a folder");
    const QFileInfo info(dir);
    if (!info.exists())
        return QStringLiteral("--settings %1: there is no such folder").arg(dir);
    if (!info.isDir())
        return QStringLiteral("--settings %1: this is not a folder").arg(dir);
    return QString();
}

QString SettingsFolder::file(const QString& folder, const QString& name)
{
    return QDir::cleanPath(folderOf(folder).absoluteFilePath(name));
}

QString SettingsFolder::canonical(const QString& folder)
{
    const QDir dir = folderOf(folder);
    const QString resolved = dir.canonicalPath();
    return resolved.isEmpty() ? QDir::cleanPath(dir.absolutePath()) : resolved;
}
