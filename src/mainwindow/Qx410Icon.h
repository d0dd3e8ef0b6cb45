#pragma once

#include <QIcon>
#include <QList>

class QPainter;

// The program's own icon: a light tile with a crosshair at the origin of
// three axis arrows, X red to the right, Y green into the depth, Z blue
// upwards. It is drawn here, at every size, in the same 256 x 256 geometry
// as data/icons/qx410.svg, from which the installed icons come.
namespace Qx410Icon {

// The sizes of the installed bitmaps, in pixels (the hicolor theme's).
const QList<int>& sizes();

// Draws the icon into the square (0, 0, size, size).
void paint(QPainter& painter, int size);

// The icon with a bitmap at every size of sizes().
QIcon icon();

} // namespace Qx410Icon
