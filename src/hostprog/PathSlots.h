#pragma once

#include <QString>

// The two paths: the command files that Move Along Path 1 and 2 follow, and
// which of them the capture editor's Save File defines.
struct PathSlots
{
    int pathSelector = 1;
    QString path1File;
    QString path2File;

    // The file of the path the selector names.
    QString& selectedPathFile() { return pathSelector == 2 ? path2File : path1File; }
};
