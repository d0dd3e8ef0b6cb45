#pragma once

#include <QPixmap>
#include <QSize>

// The two small pictures in the corner of Setup Communications: the front of
// a nine-pin serial connector and the controller box. Drawn, not loaded, at
// the device pixel ratio asked for, so they stay crisp on any screen.
class SetupPictures
{
public:
    // Sizes in device-independent pixels.
    static QSize connectorSize();
    static QSize controllerSize();

    static QPixmap connector(qreal devicePixelRatio);
    static QPixmap controller(qreal devicePixelRatio);
};
