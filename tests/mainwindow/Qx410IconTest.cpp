#include "Qx410Icon.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage drawn(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Qx410Icon::paint(painter, size);
    return image;
}

} // namespace

TEST(Qx410Icon, HoldsEveryInstalledSize)
{
    const QIcon icon = Qx410Icon::icon();
    ASSERT_FALSE(icon.isNull());
    QList<int> held;
    for (const QSize& size : icon.availableSizes())
        held << size.width();
    EXPECT_EQ(held, Qx410Icon::sizes());
}

TEST(Qx410Icon, FillsItsTileAndShowsTheThreeAxisColours)
{
    for (int size : Qx410Icon::sizes()) {
        const QImage image = drawn(size);
        SCOPED_TRACE(size);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0); // rounded corner
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
    // Arrow shafts in the 256 box: X right of the origin, Z above, Y on the diagonal.
    const QImage big = drawn(256);
    EXPECT_EQ(big.pixelColor(160, 156), QColor(0xd6, 0x2a, 0x20));
    EXPECT_EQ(big.pixelColor(100, 100), QColor(0x1d, 0x5f, 0xcf));
    EXPECT_EQ(big.pixelColor(140, 116), QColor(0x1f, 0x9a, 0x3a));
}
