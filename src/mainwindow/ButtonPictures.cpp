#include "ButtonPictures.h"

#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <QtMath>

#include <array>

namespace {

// Hand-drawn letters: one string per row, 'X' marks a filled logical pixel.
// Small ones (3 x 5) go on flags, bold ones (6 x 8, two-pixel strokes) on tiles.
using SmallGlyph = std::array<const char*, 5>;
using BoldGlyph = std::array<const char*, 8>;

SmallGlyph smallGlyph(char c)
{
    switch (c) {
    case '1':
        return { ".X.", "XX.", ".X.", ".X.", "XXX" };
    case '2':
        return { "XXX", "..X", "XXX", "X..", "XXX" };
    case '3':
        return { "XXX", "..X", ".XX", "..X", "XXX" };
    case 'R':
        return { "XX.", "X.X", "XX.", "X.X", "X.X" };
    default: // 'I'
        return { "XXX", ".X.", ".X.", ".X.", "XXX" };
    }
}

BoldGlyph boldGlyph(char c)
{
    switch (c) {
    case 'H':
        return { "XX..XX", "XX..XX", "XX..XX", "XXXXXX", "XXXXXX", "XX..XX", "XX..XX", "XX..XX" };
    case '2':
        return { ".XXXX.", "XX..XX", "....XX", "...XX.", "..XX..", ".XX...", "XX....", "XXXXXX" };
    case '3':
        return { ".XXXX.", "XX..XX", "....XX", "..XXX.", "....XX", "....XX", "XX..XX", ".XXXX." };
    case 'R':
        return { "XXXXX.", "XX..XX", "XX..XX", "XXXXX.", "XXXX..", "XX.XX.", "XX..XX", "XX..XX" };
    default: // 'I'
        return { "XXXXXX", "XXXXXX", "..XX..", "..XX..", "..XX..", "..XX..", "XXXXXX", "XXXXXX" };
    }
}

template <typename Glyph>
void drawGlyph(QPainter& p, const Glyph& glyph, int left, int top, const QColor& colour)
{
    int y = top;
    for (const char* row : glyph) {
        for (int x = 0; row[x] != '\0'; ++x) {
            if (row[x] == 'X')
                p.fillRect(QRect(left + x, y, 1, 1), colour);
        }
        ++y;
    }
}

// A one-pixel outline just inside r.
void drawOutline(QPainter& p, const QRect& r, const QColor& colour)
{
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

const QColor black(0, 0, 0);
const QColor flagGreen(0, 200, 0);
const QColor flagYellowGreen(192, 224, 0);
const QColor flagYellow(255, 255, 0);
const QColor tileFace(192, 192, 192);
const QColor arrowGround(40, 40, 40);
const QColor arrowGreen(144, 238, 144);

// The cloth of every flag; the glyph sits in the middle of its inside.
const QRect flagCloth(4, 1, 11, 9);

void drawFlag(QPainter& p, const QColor& cloth)
{
    p.fillRect(QRect(0, 15, 6, 2), QColor(64, 64, 64)); // foot
    p.fillRect(QRect(2, 0, 2, 15), QColor(96, 64, 32)); // pole
    p.fillRect(flagCloth, cloth);
    drawOutline(p, flagCloth, black);
}

void drawLetteredFlag(QPainter& p, const QColor& cloth, char letter)
{
    drawFlag(p, cloth);
    drawGlyph(p, smallGlyph(letter), flagCloth.left() + 4, flagCloth.top() + 2, black);
}

void drawRingFlag(QPainter& p)
{
    drawFlag(p, flagYellow);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 255), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(flagCloth).center(), 2.5, 2.5);
    p.restore();
}

// A raised grey tile in a black frame; returns its face.
QRect drawTile(QPainter& p)
{
    const QRect all(0, 0, ButtonPictures::width, ButtonPictures::height);
    drawOutline(p, all, black);
    const QRect inner = all.adjusted(1, 1, -1, -1);
    p.fillRect(inner, tileFace);
    p.fillRect(QRect(inner.left(), inner.top(), inner.width() - 1, 1), Qt::white);
    p.fillRect(QRect(inner.left(), inner.top(), 1, inner.height() - 1), Qt::white);
    p.fillRect(QRect(inner.left() + 1, inner.bottom(), inner.width() - 1, 1), QColor(128, 128, 128));
    p.fillRect(QRect(inner.right(), inner.top() + 1, 1, inner.height() - 1), QColor(128, 128, 128));
    return inner.adjusted(1, 1, -1, -1);
}

void drawLetteredTile(QPainter& p, char letter)
{
    drawTile(p);
    drawGlyph(p, boldGlyph(letter), 5, 4, black);
}

void drawStripedTile(QPainter& p, const QColor& stripe)
{
    const QRect face = drawTile(p);
    for (int y = face.top() + 2; y < face.bottom() - 1; y += 2)
        p.fillRect(QRect(face.left() + 1, y, face.width() - 2, 1), stripe);
}

void drawHouse(QPainter& p)
{
    p.fillRect(QRect(11, 1, 2, 5), QColor(128, 0, 0)); // chimney
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(176, 0, 0));
    p.drawPolygon(QPolygonF({ QPointF(0, 8), QPointF(8, 0.5), QPointF(16, 8) }));
    const QRect walls(2, 8, 12, 8);
    p.fillRect(walls, QColor(255, 248, 200));
    drawOutline(p, walls, black);
    p.fillRect(QRect(6, 11, 4, 5), QColor(128, 64, 0));  // door
    p.fillRect(QRect(3, 10, 2, 2), QColor(0, 128, 255)); // windows
    p.fillRect(QRect(11, 10, 2, 2), QColor(0, 128, 255));
    p.fillRect(QRect(0, 16, 16, 1), QColor(0, 128, 0)); // ground
}

void drawStop(QPainter& p)
{
    const QRect square(2, 3, 12, 12);
    p.fillRect(square, QColor(255, 0, 0));
    drawOutline(p, square, QColor(128, 0, 0));
}

void drawCrossHairs(QPainter& p)
{
    // Centred on pixel (7, 8).
    p.fillRect(QRect(7, 1, 1, 6), black);
    p.fillRect(QRect(7, 10, 1, 6), black);
    p.fillRect(QRect(0, 8, 6, 1), black);
    p.fillRect(QRect(9, 8, 6, 1), black);
    p.fillRect(QRect(7, 8, 1, 1), QColor(255, 0, 0));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(black, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(7.5, 8.5), 5.0, 5.0);
    p.restore();
}

void drawPen(QPainter& p)
{
    // Drawn lying along the x axis, nib to the left, then turned so the nib
    // points to the lower left.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(8.0, 8.5);
    p.rotate(-45.0);
    p.setPen(QPen(black, 0.8));
    p.setBrush(QColor(255, 222, 160));
    p.drawPolygon(QPolygonF({ QPointF(-9.5, 0), QPointF(-5, -2), QPointF(-5, 2) })); // nib
    p.setBrush(QColor(0, 0, 176));
    p.drawRect(QRectF(-5, -2, 11, 4)); // barrel
    p.setBrush(QColor(64, 64, 64));
    p.drawRect(QRectF(6, -2, 3, 4)); // cap end
    p.setPen(Qt::NoPen);
    p.setBrush(black);
    p.drawPolygon(QPolygonF({ QPointF(-9.5, 0), QPointF(-8, -0.7), QPointF(-8, 0.7) })); // point
    p.restore();
}

void drawArrow(QPainter& p, ButtonPictures::Picture which)
{
    using P = ButtonPictures::Picture;
    p.fillRect(QRect(0, 0, ButtonPictures::arrowWidth, ButtonPictures::arrowHeight), arrowGround);
    QPolygonF triangle;
    switch (which) {
    case P::ArrowUp:
        triangle = { QPointF(7.5, 2), QPointF(13, 11), QPointF(2, 11) };
        break;
    case P::ArrowDown:
        triangle = { QPointF(2, 2), QPointF(13, 2), QPointF(7.5, 11) };
        break;
    case P::ArrowLeft:
        triangle = { QPointF(2, 6.5), QPointF(12, 1), QPointF(12, 12) };
        break;
    default: // ArrowRight
        triangle = { QPointF(3, 1), QPointF(13, 6.5), QPointF(3, 12) };
        break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(arrowGreen);
    p.drawPolygon(triangle);
}

bool isArrow(ButtonPictures::Picture p)
{
    using P = ButtonPictures::Picture;
    return p == P::ArrowUp || p == P::ArrowDown || p == P::ArrowLeft || p == P::ArrowRight;
}

void draw(QPainter& p, ButtonPictures::Picture which)
{
    using P = ButtonPictures::Picture;
    switch (which) {
    case P::Home:
        drawHouse(p);
        break;
    case P::Flag1:
        drawLetteredFlag(p, flagGreen, '1');
        break;
    case P::Flag2:
        drawLetteredFlag(p, flagGreen, '2');
        break;
    case P::Flag3:
        drawLetteredFlag(p, flagGreen, '3');
        break;
    case P::FlagReturn:
        drawLetteredFlag(p, flagYellowGreen, 'R');
        break;
    case P::Path1:
        drawLetteredFlag(p, flagGreen, 'I');
        break;
    case P::Path2:
        drawRingFlag(p);
        break;
    case P::Stop:
        drawStop(p);
        break;
    case P::Update:
        drawCrossHairs(p);
        break;
    case P::Refresh:
        drawPen(p);
        break;
    case P::DefineHome:
        drawLetteredTile(p, 'H');
        break;
    case P::Define1:
        drawLetteredTile(p, 'I');
        break;
    case P::Define2:
        drawLetteredTile(p, '2');
        break;
    case P::Define3:
        drawLetteredTile(p, '3');
        break;
    case P::DefineReturn:
        drawLetteredTile(p, 'R');
        break;
    case P::DefinePath1:
        drawStripedTile(p, black);
        break;
    case P::DefinePath2:
        drawStripedTile(p, QColor(0, 0, 255));
        break;
    case P::ArrowUp:
    case P::ArrowDown:
    case P::ArrowLeft:
    case P::ArrowRight:
        drawArrow(p, which);
        break;
    }
}

} // namespace

QList<ButtonPictures::Picture> ButtonPictures::all()
{
    QList<Picture> pictures;
    for (int i = static_cast<int>(Picture::Home); i <= static_cast<int>(Picture::ArrowRight); ++i)
        pictures.append(static_cast<Picture>(i));
    return pictures;
}

QSize ButtonPictures::logicalSize(Picture p)
{
    return isArrow(p) ? QSize(arrowWidth, arrowHeight) : QSize(width, height);
}

QIcon ButtonPictures::icon(Picture p)
{
    QIcon icon;
    icon.addPixmap(pixmap(p, 1.0));
    icon.addPixmap(pixmap(p, 2.0));
    return icon;
}

QPixmap ButtonPictures::pixmap(Picture p, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize logical = logicalSize(p);
    QPixmap pixmap(qCeil(logical.width() * ratio), qCeil(logical.height() * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter, p);
    painter.end();
    return pixmap;
}
