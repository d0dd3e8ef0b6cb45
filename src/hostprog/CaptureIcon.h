#pragma once

#include <QIcon>
#include <QPixmap>

// The small title-bar picture of the host-program dialogs (the capture
// editor and host execution): a sheet with lines of commands and a red
// record dot. Drawn, not loaded, so it is sharp at any device pixel ratio.
class CaptureIcon
{
public:
    static constexpr int size = 16; // logical pixels, square

    static QPixmap pixmap(qreal devicePixelRatio = 1.0);
    // The picture at 1x and 2x.
    static QIcon icon();
};
