#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>

// The small pictures on the main window's buttons: the main toolbar (home,
// position flags, paths, stop, update, refresh), the define toolbar (lettered
// and striped tiles) and the manual move panel's step arrows.
//
// Every picture is drawn with QPainter in logical pixels, so it is equally
// sharp at any device pixel ratio. Toolbar pictures are 16 x 17 logical
// pixels, step arrows 15 x 13; outside the drawn shapes they are transparent.
class ButtonPictures
{
public:
    enum class Picture {
        Home,
        Flag1,
        Flag2,
        Flag3,
        FlagReturn,
        Path1,
        Path2,
        Stop,
        Update,
        Refresh,
        DefineHome,
        Define1,
        Define2,
        Define3,
        DefineReturn,
        DefinePath1,
        DefinePath2,
        ArrowUp,
        ArrowDown,
        ArrowLeft,
        ArrowRight
    };

    static constexpr int width = 16, height = 17;
    static constexpr int arrowWidth = 15, arrowHeight = 13;

    // Every picture, in declaration order.
    static QList<Picture> all();

    // The picture's size in logical pixels: 16 x 17, or 15 x 13 for arrows.
    static QSize logicalSize(Picture p);

    // An icon holding the picture at 1x and 2x.
    static QIcon icon(Picture p);

    // The picture rendered for the given device pixel ratio; the pixmap
    // carries that ratio, so its logical size is logicalSize(p).
    static QPixmap pixmap(Picture p, qreal devicePixelRatio = 1.0);
};
