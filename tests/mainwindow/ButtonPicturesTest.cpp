#include "ButtonPictures.h"

#include <QApplication>
#include <QImage>
#include <functional>
#include <gtest/gtest.h>

namespace {


using Picture = ButtonPictures::Picture;

QImage imageOf(Picture p, qreal ratio = 1.0)
{
    return ButtonPictures::pixmap(p, ratio).toImage().convertToFormat(QImage::Format_ARGB32);
}

int countPixels(const QImage& image, const QRect& area, const std::function<bool(const QColor&)>& matches)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (matches(image.pixelColor(x, y)))
                ++n;
        }
    }
    return n;
}

int countPixels(const QImage& image, const std::function<bool(const QColor&)>& matches)
{
    return countPixels(image, image.rect(), matches);
}

bool opaque(const QColor& c)
{
    return c.alpha() == 255;
}
bool transparent(const QColor& c)
{
    return c.alpha() == 0;
}
bool red(const QColor& c)
{
    return opaque(c) && c.red() > 200 && c.green() < 60 && c.blue() < 60;
}
bool lightGreen(const QColor& c)
{
    return opaque(c) && c.green() > 200 && c.green() - c.red() > 50 && c.green() - c.blue() > 50;
}
bool green(const QColor& c)
{
    return opaque(c) && c.green() > 150 && c.red() < 80 && c.blue() < 80;
}
bool yellowGreen(const QColor& c)
{
    return opaque(c) && c.green() > 180 && c.red() > 150 && c.red() < 230 && c.blue() < 60;
}
bool yellow(const QColor& c)
{
    return opaque(c) && c.red() > 230 && c.green() > 230 && c.blue() < 60;
}
bool blue(const QColor& c)
{
    return opaque(c) && c.blue() > 200 && c.red() < 60 && c.green() < 60;
}
bool black(const QColor& c)
{
    return opaque(c) && c.red() < 40 && c.green() < 40 && c.blue() < 40;
}

QString nameOf(Picture p)
{
    return QString::number(static_cast<int>(p));
}

TEST(ButtonPicturesTest, PicturesHaveTheirLogicalSizeAtOneAndTwoTimes)
{
    const QList<Picture> pictures = ButtonPictures::all();
    ASSERT_EQ(pictures.size(), 21);
    for (Picture p : pictures) {
        SCOPED_TRACE(nameOf(p).toStdString());
        const bool arrow = p == Picture::ArrowUp || p == Picture::ArrowDown || p == Picture::ArrowLeft
            || p == Picture::ArrowRight;
        const QSize logical = arrow ? QSize(15, 13) : QSize(16, 17);
        EXPECT_EQ(ButtonPictures::logicalSize(p), logical);

        const QPixmap one = ButtonPictures::pixmap(p);
        EXPECT_EQ(one.size(), logical);
        EXPECT_EQ(one.devicePixelRatio(), 1.0);

        const QPixmap two = ButtonPictures::pixmap(p, 2.0);
        EXPECT_EQ(two.size(), logical * 2);
        EXPECT_EQ(two.devicePixelRatio(), 2.0);
        EXPECT_EQ(two.deviceIndependentSize(), QSizeF(logical));
    }
    EXPECT_EQ(ButtonPictures::pixmap(Picture::Home, 2.0).size(), QSize(32, 34));
}

TEST(ButtonPicturesTest, IconServesBothPixelRatios)
{
    for (Picture p : { Picture::Flag1, Picture::DefinePath2, Picture::ArrowLeft }) {
        SCOPED_TRACE(nameOf(p).toStdString());
        const QSize logical = ButtonPictures::logicalSize(p);
        const QIcon icon = ButtonPictures::icon(p);
        ASSERT_FALSE(icon.isNull());
        const QPixmap one = icon.pixmap(logical, 1.0);
        const QPixmap two = icon.pixmap(logical, 2.0);
        EXPECT_EQ(one.size(), logical);
        EXPECT_EQ(two.size(), logical * 2);
        // The 2x entry is drawn at 2x, not the 1x one blown up.
        EXPECT_EQ(two.toImage().convertToFormat(QImage::Format_ARGB32), imageOf(p, 2.0));
    }
}

TEST(ButtonPicturesTest, GroundIsTransparentExceptOnTilesAndArrows)
{
    for (Picture p : ButtonPictures::all()) {
        SCOPED_TRACE(nameOf(p).toStdString());
        const QImage image = imageOf(p);
        const int pixels = image.width() * image.height();
        EXPECT_GT(countPixels(image, [](const QColor& c) { return c.alpha() > 0; }), pixels / 8);
        const int opaquePixels = countPixels(image, opaque);
        const bool grounded = p >= Picture::DefineHome;
        if (grounded)
            EXPECT_EQ(opaquePixels, pixels);
        else
            EXPECT_GT(countPixels(image, transparent), pixels / 8);
    }
}

TEST(ButtonPicturesTest, DistinctPicturesDiffer)
{
    const QList<Picture> pictures = ButtonPictures::all();
    for (qreal ratio : { 1.0, 2.0 }) {
        QList<QImage> images;
        for (Picture p : pictures)
            images.append(imageOf(p, ratio));
        for (int i = 0; i < images.size(); ++i) {
            for (int j = i + 1; j < images.size(); ++j)
                EXPECT_NE(images[i], images[j]) << "pictures " << i << " and " << j << " at " << ratio << "x";
        }
    }
}

// Pictures built only from whole logical pixels must double exactly: every
// 2 x 2 block at 2x is one colour, the colour of the pixel at 1x.
TEST(ButtonPicturesTest, PixelBuiltPicturesStaySharpAtTwoTimes)
{
    for (Picture p : { Picture::Flag1, Picture::Flag2, Picture::Flag3, Picture::FlagReturn, Picture::Path1,
             Picture::Stop, Picture::DefineHome, Picture::Define1, Picture::Define2, Picture::Define3,
             Picture::DefineReturn, Picture::DefinePath1, Picture::DefinePath2 }) {
        SCOPED_TRACE(nameOf(p).toStdString());
        const QImage one = imageOf(p, 1.0);
        const QImage two = imageOf(p, 2.0);
        int mismatches = 0;
        for (int y = 0; y < one.height(); ++y) {
            for (int x = 0; x < one.width(); ++x) {
                const QRgb expected = one.pixel(x, y);
                for (int dy = 0; dy < 2; ++dy) {
                    for (int dx = 0; dx < 2; ++dx) {
                        if (two.pixel(2 * x + dx, 2 * y + dy) != expected)
                            ++mismatches;
                    }
                }
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(ButtonPicturesTest, ColoursMatchWhatEachPictureShows)
{
    struct Case {
        Picture picture;
        std::function<bool(const QColor&)> colour;
        int atLeast;
    };
    const Case present[] = {
        { Picture::Flag1, green, 30 },
        { Picture::Flag2, green, 30 },
        { Picture::Flag3, green, 30 },
        { Picture::Path1, green, 30 },
        { Picture::FlagReturn, yellowGreen, 30 },
        { Picture::Path2, yellow, 20 },
        { Picture::Path2, blue, 4 },
        { Picture::DefinePath1, black, 40 },
        { Picture::DefinePath2, blue, 30 },
        { Picture::Update, black, 20 },
    };
    for (const Case& c : present) {
        SCOPED_TRACE(nameOf(c.picture).toStdString());
        EXPECT_GE(countPixels(imageOf(c.picture), c.colour), c.atLeast);
    }
    // The return flag is yellow-green, not the green of the numbered flags.
    EXPECT_EQ(countPixels(imageOf(Picture::FlagReturn), green), 0);
    EXPECT_EQ(countPixels(imageOf(Picture::Flag1), yellowGreen), 0);
    // Path 1's tile has black stripes, path 2's blue ones.
    EXPECT_EQ(countPixels(imageOf(Picture::DefinePath1), blue), 0);
}

TEST(ButtonPicturesTest, StopIsMostlyRed)
{
    const QImage image = imageOf(Picture::Stop);
    const int opaquePixels = countPixels(image, opaque);
    const int redPixels = countPixels(image, red);
    EXPECT_GT(redPixels, opaquePixels / 2);
    EXPECT_GE(redPixels, 64);
}

TEST(ButtonPicturesTest, ArrowsPointTheWayTheyAreNamed)
{
    for (qreal ratio : { 1.0, 2.0 }) {
        SCOPED_TRACE(ratio);
        const QImage up = imageOf(Picture::ArrowUp, ratio);
        const int w = up.width(), h = up.height();
        const QRect top(0, 0, w, h / 2), bottom(0, h - h / 2, w, h / 2);
        const QRect left(0, 0, w / 2, h), right(w - w / 2, 0, w / 2, h);

        // A triangle is narrow at its point and wide at its base.
        EXPECT_LT(countPixels(up, top, lightGreen) * 2, countPixels(up, bottom, lightGreen));
        const QImage down = imageOf(Picture::ArrowDown, ratio);
        EXPECT_LT(countPixels(down, bottom, lightGreen) * 2, countPixels(down, top, lightGreen));
        const QImage leftArrow = imageOf(Picture::ArrowLeft, ratio);
        EXPECT_LT(countPixels(leftArrow, left, lightGreen) * 2, countPixels(leftArrow, right, lightGreen));
        const QImage rightArrow = imageOf(Picture::ArrowRight, ratio);
        EXPECT_LT(countPixels(rightArrow, right, lightGreen) * 2, countPixels(rightArrow, left, lightGreen));

        // Up and down point along the middle column, left and right along the middle row.
        for (const QImage* image : { &up, &down }) {
            EXPECT_EQ(countPixels(*image, left, lightGreen), countPixels(*image, right, lightGreen));
        }
        for (const QImage* image : { &leftArrow, &rightArrow }) {
            EXPECT_EQ(countPixels(*image, top, lightGreen), countPixels(*image, bottom, lightGreen));
        }

        // The rest is the dark ground.
        for (const QImage* image : { &up, &down, &leftArrow, &rightArrow }) {
            const int greenPixels = countPixels(*image, lightGreen);
            EXPECT_GT(greenPixels, w * h / 5);
            const int dark = countPixels(*image, [](const QColor& c) { return opaque(c) && c.lightness() < 80; });
            EXPECT_EQ(dark + greenPixels, w * h);
        }
    }
}

} // namespace
