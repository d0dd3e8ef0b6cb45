#include "Qx410Icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {

// Every coordinate below is in the 256 x 256 box of data/icons/qx410.svg;
// keep the two in step.
constexpr qreal box = 256.0;
const QPointF origin(100, 156);

const QColor frameColour(0x34, 0x47, 0x5e);
const QColor tileTop(0xf4, 0xf7, 0xfb);
const QColor tileBottom(0xc9, 0xd3, 0xdf);
const QColor reticleColour(0x2a, 0x2f, 0x36);
const QColor xColour(0xd6, 0x2a, 0x20);
const QColor yColour(0x1f, 0x9a, 0x3a);
const QColor zColour(0x1d, 0x5f, 0xcf);

// A shaft from `from` to the base of a triangular head whose tip is `tip`.
void drawArrow(QPainter& p, const QPointF& from, const QPointF& tip, const QColor& colour)
{
    constexpr qreal headLength = 36;
    constexpr qreal headHalfWidth = 24;
    constexpr qreal shaftWidth = 18;
    const QLineF line(from, tip);
    const QLineF unit = line.unitVector();
    const QPointF along = unit.p2() - unit.p1();
    const QPointF across(-along.y(), along.x());
    const QPointF base = tip - along * headLength;

    p.setPen(QPen(colour, shaftWidth, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, base + along); // one unit into the head: no seam
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({ tip, base + across * headHalfWidth, base - across * headHalfWidth }));
}

QPixmap pixmap(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    Qx410Icon::paint(painter, size);
    return picture;
}

} // namespace

const QList<int>& Qx410Icon::sizes()
{
    static const QList<int> all = { 16, 22, 24, 32, 48, 64, 128, 256 };
    return all;
}

void Qx410Icon::paint(QPainter& p, int size)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / box, size / box);

    QLinearGradient tile(0, 8, 0, 248);
    tile.setColorAt(0, tileTop);
    tile.setColorAt(1, tileBottom);
    p.setPen(QPen(frameColour, 8));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);

    // The crosshair: a ring round the origin and ticks along the negative axes.
    p.setPen(QPen(reticleColour, 10, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(origin, 34, 34);
    p.drawLine(QPointF(40, 156), QPointF(78, 156));
    p.drawLine(QPointF(100, 178), QPointF(100, 218));

    drawArrow(p, origin, QPointF(190, 66), yColour);
    drawArrow(p, origin, QPointF(222, 156), xColour);
    drawArrow(p, origin, QPointF(100, 34), zColour);

    p.setPen(Qt::NoPen);
    p.setBrush(reticleColour);
    p.drawEllipse(origin, 14, 14);
    p.restore();
}

QIcon Qx410Icon::icon()
{
    QIcon all;
    for (int size : sizes())
        all.addPixmap(pixmap(size));
    return all;
}
