#include "ProgramIcon.h"

#include <QPainter>

QPixmap ProgramIcon::pixmap(qreal devicePixelRatio)
{
    QPixmap picture(QSize(size, size) * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);

    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    // The controller: a grey box with a small display.
    p.setPen(QPen(QColor(48, 48, 48), 1.0));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(0.5, 6.5, 15.0, 9.0));
    p.setBrush(QColor(0, 96, 0));
    p.drawRect(QRectF(2.5, 8.5, 7.0, 3.0));
    p.setBrush(QColor(208, 0, 0));
    p.drawEllipse(QPointF(12.5, 12.5), 1.5, 1.5);
    // The program sheet above it.
    p.setPen(QPen(QColor(64, 64, 64), 1.0));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(4.5, 0.5, 7.0, 5.0));
    p.setPen(QPen(QColor(0, 0, 128), 1.0));
    p.drawLine(QPointF(6.0, 2.5), QPointF(10.0, 2.5));
    p.drawLine(QPointF(6.0, 4.0), QPointF(9.0, 4.0));
    return picture;
}

QIcon ProgramIcon::icon()
{
    QIcon icon;
    icon.addPixmap(pixmap(1.0));
    icon.addPixmap(pixmap(2.0));
    return icon;
}
