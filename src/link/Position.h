#pragma once

#include <QtGlobal>

// A point on the three axes. Whether the numbers are microsteps or whole
// micrometres depends on where the value comes from; Units converts between them.
struct Position
{
    qint32 x = 0;
    qint32 y = 0;
    qint32 z = 0;

    friend bool operator==(const Position& a, const Position& b)
    {
        return a.x == b.x && a.y == b.y && a.z == b.z;
    }
    friend bool operator!=(const Position& a, const Position& b) { return !(a == b); }
};
