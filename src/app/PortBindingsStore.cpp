#include "PortBindingsStore.h"

#include "PortBindingsFile.h"
#include "SettingsFolder.h"

QString PortBindingsStore::path(const QString& folder)
{
    return SettingsFolder::file(folder, QString::fromLatin1(PortBindingsFile::fileName));
}

PortBindingsStore::Loaded PortBindingsStore::load(const QString& path)
{
    Loaded loaded;
    loaded.path = path;
    std::string unreadable;
    const std::optional<PortBindingsFile::Contents> contents = PortBindingsFile::read(path.toStdString(), &unreadable);
    loaded.unreadable = QString::fromStdString(unreadable);
    if (!contents)
        return loaded;
    loaded.present = true;
    for (int i = 0; i < PortNames::portCount; ++i)
        loaded.bindings[i] = QString::fromStdString(contents->devices[i]);
    for (const int line : contents->badLines)
        loaded.badLines.append(line);
    return loaded;
}

bool PortBindingsStore::save(const QString& path, const PortNames::Bindings& bindings)
{
    PortBindingsFile::Devices devices;
    for (int i = 0; i < PortNames::portCount; ++i)
        devices[i] = bindings[i].trimmed().toStdString();
    return PortBindingsFile::write(path.toStdString(), devices);
}

QStringList PortBindingsStore::notes(const Loaded& loaded)
{
    QStringList notes;
    if (!loaded.unreadable.isEmpty())
        notes.append(QStringLiteral("%1 cannot be read (%2) and was ignored.").arg(loaded.path, loaded.unreadable));
    for (const int line : loaded.badLines)
        notes.append(QStringLiteral("%1 line %2 is not 'COMn DEVICE' and was skipped.")
                         .arg(QString::fromLatin1(PortBindingsFile::fileName))
                         .arg(line));
    return notes;
}
