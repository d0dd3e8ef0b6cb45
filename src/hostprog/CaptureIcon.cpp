#include "CaptureIcon.h"

#include <QPainter>
#include <QPainterPath>

QPixmap CaptureIcon::pixmap(qreal devicePixelRatio)
{
    QPixmap picture(QSize(size, size) * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);

    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    // The sheet with a folded corner.
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.5, 0.5);
    sheet.lineTo(13.5, 3.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(64, 64, 64), 1.0));
    p.setBrush(QColor(250, 250, 250));
    p.drawPath(sheet);
    p.drawLine(QPointF(10.5, 0.5), QPointF(10.5, 3.5));
    p.drawLine(QPointF(10.5, 3.5), QPointF(13.5, 3.5));
    // Lines of commands.
    p.setPen(QPen(QColor(0, 0, 128), 1.0));
    for (int row = 0; row < 4; ++row) {
        const qreal y = 5.5 + 2 * row;
        p.drawLine(QPointF(4.5, y), QPointF(row % 2 ? 9.5 : 11.5, y));
    }
    // The record dot.
    p.setPen(QPen(QColor(96, 0, 0), 1.0));
    p.setBrush(QColor(208, 0, 0));
    p.drawEllipse(QPointF(11.0, 12.5), 3.0, 3.0);
    return picture;
}

QIcon CaptureIcon::icon()
{
    QIcon icon;
    icon.addPixmap(pixmap(1.0));
    icon.addPixmap(pixmap(2.0));
    return icon;
}
