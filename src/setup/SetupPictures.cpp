#include "SetupPictures.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

QPixmap blank(QSize logical, qreal dpr)
{
    if (!(dpr > 0))
        dpr = 1;
    QPixmap pixmap(QSize(qRound(logical.width() * dpr), qRound(logical.height() * dpr)));
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPolygonF trapezoid(qreal top, qreal bottom, qreal topHalf, qreal bottomHalf, qreal centre)
{
    return QPolygonF({ QPointF(centre - topHalf, top), QPointF(centre + topHalf, top),
                       QPointF(centre + bottomHalf, bottom), QPointF(centre - bottomHalf, bottom) });
}

// A trapezoid with its corners rounded by radius, as the D-shaped shell.
QPainterPath roundedTrapezoid(const QPolygonF& corners, qreal radius)
{
    QPainterPath path;
    const int n = corners.size();
    for (int i = 0; i < n; ++i) {
        const QPointF prev = corners[(i + n - 1) % n];
        const QPointF here = corners[i];
        const QPointF next = corners[(i + 1) % n];
        const QLineF in(here, prev);
        const QLineF out(here, next);
        const QPointF from = in.pointAt(radius / in.length());
        const QPointF to = out.pointAt(radius / out.length());
        if (i == 0)
            path.moveTo(from);
        else
            path.lineTo(from);
        path.quadTo(here, to);
    }
    path.closeSubpath();
    return path;
}

} // namespace

QSize SetupPictures::connectorSize()
{
    return QSize(64, 40);
}

QSize SetupPictures::controllerSize()
{
    return QSize(56, 40);
}

QPixmap SetupPictures::connector(qreal devicePixelRatio)
{
    QPixmap pixmap = blank(connectorSize(), devicePixelRatio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal cx = 32;

    // Flange with its two screws.
    QLinearGradient metal(0, 7, 0, 33);
    metal.setColorAt(0, QColor(0xE4, 0xE7, 0xEB));
    metal.setColorAt(1, QColor(0xA9, 0xAF, 0xB7));
    p.setPen(QPen(QColor(0x5A, 0x60, 0x68), 1));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(1.5, 7.5, 61, 25), 4, 4);
    for (qreal x : { 7.5, 56.5 }) {
        p.setBrush(QColor(0x7D, 0x84, 0x8D));
        p.drawEllipse(QPointF(x, 20), 3.5, 3.5);
        p.setBrush(QColor(0x3A, 0x3F, 0x45));
        p.drawEllipse(QPointF(x, 20), 1.6, 1.6);
    }

    // D-shaped shell and the insulator inside it.
    p.setBrush(QColor(0xC9, 0xCE, 0xD4));
    p.drawPath(roundedTrapezoid(trapezoid(10.5, 29.5, 19, 14.5, cx), 2.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x33, 0x3A));
    p.drawPath(roundedTrapezoid(trapezoid(12.5, 27.5, 16.5, 12.5, cx), 2));

    // Five pins above, four below.
    p.setPen(QPen(QColor(0x8A, 0x6A, 0x1C), 0.6));
    p.setBrush(QColor(0xE8, 0xC2, 0x4A));
    const qreal pitch = 5.5;
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(cx + (i - 2) * pitch, 16.5), 1.7, 1.7);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(cx + (i - 1.5) * pitch, 23.5), 1.7, 1.7);
    return pixmap;
}

QPixmap SetupPictures::controller(qreal devicePixelRatio)
{
    QPixmap pixmap = blank(controllerSize(), devicePixelRatio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(0x4A, 0x4F, 0x57), 1);

    // The cable leaving the back of the box.
    p.setPen(QPen(QColor(0x3A, 0x3F, 0x45), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(1.5, 37);
    cable.cubicTo(4, 30, 2, 24, 6, 22);
    p.drawPath(cable);

    // Case.
    QLinearGradient body(0, 6, 0, 36);
    body.setColorAt(0, QColor(0xF1, 0xEC, 0xDF));
    body.setColorAt(1, QColor(0xCF, 0xC7, 0xB3));
    p.setPen(outline);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(5.5, 6.5, 49, 29), 3, 3);

    // Display with three readouts, one per axis.
    p.setBrush(QColor(0x1F, 0x3B, 0x2C));
    p.drawRoundedRect(QRectF(9.5, 10.5, 26, 12), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6E, 0xF0, 0x9A));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(12 + i * 7.5, 14, 6, 1.6));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(12 + i * 7.5, 17.6, 4, 1.6));

    // Axis keys under the display.
    const QColor keys[] = { QColor(0xD9, 0x4F, 0x45), QColor(0x3F, 0x8F, 0x4E), QColor(0x3C, 0x6F, 0xC4) };
    p.setPen(outline);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(keys[i]);
        p.drawRoundedRect(QRectF(10.5 + i * 8.5, 26.5, 6, 4), 1, 1);
    }

    // Speed knob.
    p.setBrush(QColor(0x5C, 0x62, 0x6B));
    p.drawEllipse(QPointF(45, 21), 6, 6);
    p.setPen(QPen(QColor(0xF1, 0xEC, 0xDF), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(45, 21), QPointF(48.2, 17));
    return pixmap;
}
