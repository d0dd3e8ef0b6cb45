#pragma once

#include "PortNames.h"

#include <QList>
#include <QString>

// The port bindings file as the programs use it: loaded into the shared
// serial settings at start, saved when Setup Communications changes a
// binding. The file lies beside the settings file, in the settings folder
// (SettingsFolder: the current folder unless --settings names another).
class PortBindingsStore
{
public:
    struct Loaded
    {
        PortNames::Bindings bindings;
        QList<int> badLines; // skipped, 1-based
        bool present = false;
        // Not empty when the file is there but could not be read (not a
        // regular file, too large, no permission): why. Nothing is bound then.
        QString unreadable;
        QString path; // as load() was given it
    };

    // The file in the settings folder (empty: the current folder).
    static QString path(const QString& folder = QString());
    // Missing or unreadable: nothing bound.
    static Loaded load(const QString& path);
    static bool save(const QString& path, const PortNames::Bindings& bindings);
    // What the operator should know about the file, one warning each:
    // "PATH cannot be read (REASON) and was ignored." when it is unreadable,
    // "Qx410.ports line 3 is not 'COMn DEVICE' and was skipped." for each bad line.
    static QStringList notes(const Loaded& loaded);
};
