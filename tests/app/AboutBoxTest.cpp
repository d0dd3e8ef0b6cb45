#include "AboutBox.h"
#include "Qx410Icon.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {


const QColor lightGrey(192, 192, 192);

class AboutBoxTest : public ::testing::Test
{
protected:
    AboutBoxTest()
        : m_box(m_guide)
    {
        m_box.setUrlOpener([this](const QUrl& url) { m_opened.append(url); });
    }

    QLabel* line(const char* name)
    {
        auto* label = m_box.findChild<QLabel*>(name);
        EXPECT_NE(label, nullptr) << name;
        return label;
    }

    // Pixels of the rendered label that are clearly of the given hue.
    static int inkOfColour(QLabel* label, const std::function<bool(const QColor&)>& matches)
    {
        const QImage image = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (matches(image.pixelColor(x, y)))
                    ++n;
            }
        }
        return n;
    }

    const QUrl m_guide = QUrl::fromLocalFile("/usr/share/doc/qx410/user-guide.html");
    QList<QUrl> m_opened;
    AboutBox m_box;
};

TEST_F(AboutBoxTest, IsAModalBoxWithTitleTextsAndOk)
{
    EXPECT_EQ(m_box.windowTitle(), "QX410 Windows Program");
    EXPECT_TRUE(m_box.isModal());
    EXPECT_EQ(line("productLine")->text(), "QX-410 Micromanipulator Controller");
    EXPECT_EQ(line("versionLine")->text(), "Qx410 Version 1.03");
    EXPECT_EQ(line("makerLine1")->text(), "Qx410 host program contributors");
    EXPECT_EQ(line("makerLine2")->text(), "Open-source host software for the QX-410");
    EXPECT_EQ(line("makerLine3")->text(), "No telephone support: see the user guide");
    EXPECT_EQ(line("licenceLine")->text(), "Free software under the MIT License");
    EXPECT_EQ(m_box.guide(), m_guide);

    auto* buttons = m_box.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ASSERT_NE(ok, nullptr);
    m_box.show();
    ok->click();
    EXPECT_EQ(m_box.result(), QDialog::Accepted);
    EXPECT_FALSE(m_box.isVisible());
}

TEST_F(AboutBoxTest, TextsHaveTheirColoursOnLightGrey)
{
    const struct {
        const char* name;
        QColor text;
    } lines[] = {
        { "productLine", QColor(128, 0, 0) },
        { "makerLine1", Qt::black },
        { "makerLine2", Qt::black },
        { "makerLine3", Qt::black },
        { "guideLine", QColor(0, 0, 255) },
    };
    for (const auto& l : lines) {
        SCOPED_TRACE(l.name);
        QLabel* label = line(l.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), l.text);
        EXPECT_EQ(label->palette().color(QPalette::Window), lightGrey);
        EXPECT_TRUE(label->autoFillBackground());
    }
    QLabel* version = line("versionLine");
    EXPECT_EQ(version->palette().color(QPalette::Window), lightGrey);
    EXPECT_EQ(version->palette().color(QPalette::WindowText), m_box.palette().color(QPalette::WindowText));
}

TEST_F(AboutBoxTest, RenderedColoursAreWhatThePaletteSays)
{
    m_box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_box));
    auto darkRed = [](const QColor& c) { return c.red() > c.green() + 60 && c.red() > c.blue() + 60; };
    auto blue = [](const QColor& c) { return c.blue() > c.red() + 80 && c.blue() > c.green() + 80; };

    EXPECT_GT(inkOfColour(line("productLine"), darkRed), 20);
    EXPECT_EQ(inkOfColour(line("productLine"), blue), 0);
    EXPECT_GT(inkOfColour(line("guideLine"), blue), 20);
    EXPECT_EQ(inkOfColour(line("makerLine1"), darkRed), 0);
    EXPECT_EQ(inkOfColour(line("makerLine1"), blue), 0);

    // The ground behind each text is the light grey.
    for (const char* name : { "productLine", "versionLine", "makerLine2", "guideLine" }) {
        SCOPED_TRACE(name);
        const QImage image = line(name)->grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 0).rgb(), lightGrey.rgb());
    }
}

TEST_F(AboutBoxTest, LeftClickOnTheGuideLineOpensTheGuide)
{
    QLabel* guideLine = line("guideLine");
    ASSERT_NE(guideLine, nullptr);
    EXPECT_FALSE(guideLine->text().isEmpty());

    QTest::mouseClick(guideLine, Qt::LeftButton);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0], m_guide);

    // Through the window, as a real pointer would arrive.
    m_box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_box));
    const QPoint onLine = guideLine->mapTo(&m_box, guideLine->rect().center());
    QTest::mouseClick(m_box.windowHandle(), Qt::LeftButton, {}, onLine);
    QCoreApplication::processEvents();
    ASSERT_EQ(m_opened.size(), 2);
    EXPECT_EQ(m_opened[1], m_guide);
}

TEST_F(AboutBoxTest, OtherClicksOpenNothing)
{
    QLabel* guideLine = line("guideLine");
    ASSERT_NE(guideLine, nullptr);
    QTest::mouseClick(guideLine, Qt::RightButton);
    QTest::mouseClick(guideLine, Qt::MiddleButton);
    QTest::mouseClick(line("productLine"), Qt::LeftButton);
    QTest::mouseClick(line("makerLine3"), Qt::LeftButton);
    QTest::mouseClick(&m_box, Qt::LeftButton, {}, QPoint(2, 2));
    // Pressed on the line but released beside it.
    QTest::mousePress(guideLine, Qt::LeftButton);
    QTest::mouseRelease(guideLine, Qt::LeftButton, {}, QPoint(guideLine->width() + 5, 2));

    m_box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_box));
    QLabel* product = line("productLine");
    QTest::mouseClick(m_box.windowHandle(), Qt::LeftButton, {}, product->mapTo(&m_box, product->rect().center()));
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(AboutBoxTest, ItsPictureIsTheProgramIcon)
{
    auto* picture = m_box.findChild<QWidget*>("picture");
    ASSERT_NE(picture, nullptr);
    const QImage shown = picture->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QImage icon(shown.size(), QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    {
        QPainter painter(&icon);
        Qx410Icon::paint(painter, icon.width());
    }
    int compared = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            if (qAlpha(icon.pixel(x, y)) == 255) { // where the icon covers the background
                ASSERT_EQ(shown.pixel(x, y), icon.pixel(x, y)) << x << "," << y;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, icon.width() * icon.height() / 2);
}

} // namespace
