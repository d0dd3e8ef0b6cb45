#pragma once

#include <QIcon>
#include <QPixmap>

// The title-bar picture shared by the three controller-program dialogs: the
// controller box with a program sheet going in or out. Drawn, not loaded, so
// it is sharp at any device pixel ratio.
class ProgramIcon
{
public:
    static constexpr int size = 16; // logical pixels, square

    static QPixmap pixmap(qreal devicePixelRatio = 1.0);
    static QIcon icon();
};
