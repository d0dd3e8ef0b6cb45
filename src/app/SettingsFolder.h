#pragma once

#include <QString>

// The folder that holds the program's own files (Qx410.ini, Qx410.ports,
// the lock of the desktop program): the current folder, or the one given
// with --settings DIR, so that one computer can keep a folder per rig.
class SettingsFolder
{
public:
    // Why dir cannot be the settings folder ("--settings /x: there is no
    // such folder", "... is not a folder"); empty when it can.
    static QString refusal(const QString& dir);
    // The absolute path of the file name in folder; an empty folder is the
    // current folder.
    static QString file(const QString& folder, const QString& name);
    // The folder's canonical path (symbolic links resolved), or its
    // absolute path when it cannot be resolved; an empty folder is the
    // current folder.
    static QString canonical(const QString& folder);
};
