#include "ResolutionNote.h"
#include "Printing.h"

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString idle = QStringLiteral("For Help, press F1");
const QString note = QStringLiteral("NOTE: resolution change does not affect manual input and resolution displayed on "
                                    "VFD, please see help");

// A main window whose message bar shows the idle text.
struct Window {
    Window()
    {
        window.resize(800, 240);
        bar()->showMessage(idle);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QStatusBar* bar() { return window.statusBar(); }
    // Notes already removed are deleted once the event loop gets to them.
    int noteChildren()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return static_cast<int>(bar()->findChildren<ResolutionNote*>().size());
    }

    QMainWindow window;
};

bool near(QRgb pixel, const QColor& colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance
        && std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

TEST(ResolutionNote, DrawnDarkRedOnLightGreyAtTheTopLeftOfTheBar)
{
    Window w;
    ResolutionNote* shown = ResolutionNote::show(w.bar(), note);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(ResolutionNote::find(w.bar()), shown);
    EXPECT_EQ(shown->text(), note);
    EXPECT_EQ(shown->parentWidget(), w.bar());
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->pos(), QPoint(0, 2));
    EXPECT_EQ(ResolutionNote::textColour, QColor(128, 0, 0));
    EXPECT_EQ(ResolutionNote::backColour, QColor(192, 192, 192));
    EXPECT_TRUE(shown->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(w.bar()->currentMessage(), idle) << "the note is not the bar's text";

    // What the bar looks like: inside the note only grey, dark red and the
    // blends of the two at glyph edges; a good share of clearly dark red.
    const QImage image = w.bar()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = image.devicePixelRatio();
    const QRect area(QPoint(0, 2) * ratio, shown->size() * ratio);
    ASSERT_TRUE(image.rect().contains(area.topLeft()));
    int grey = 0;
    int red = 0;
    int other = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y) {
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (near(p, ResolutionNote::backColour, 2))
                ++grey;
            else if (near(p, ResolutionNote::textColour, 30))
                ++red;
            else if (qGreen(p) != qBlue(p) || qRed(p) < qGreen(p))
                ++other; // neither grey nor a blend of dark red into grey
        }
    }
    EXPECT_GT(grey, red) << "light grey background";
    EXPECT_GT(red, 50) << "dark red text";
    EXPECT_EQ(other, 0);
    // Left of the note's text the bar's message is covered.
    EXPECT_TRUE(near(image.pixel(0, int(3 * ratio)), ResolutionNote::backColour, 2));
}

TEST(ResolutionNote, GoesWithTheBarsNextMessage)
{
    Window w;
    ResolutionNote::show(w.bar(), note);
    // The same text again is no new message: the bar is not redrawn.
    w.bar()->showMessage(idle);
    EXPECT_NE(ResolutionNote::find(w.bar()), nullptr);
    EXPECT_EQ(w.noteChildren(), 1);

    w.bar()->showMessage(QStringLiteral("Go To Home Position"));
    EXPECT_EQ(ResolutionNote::find(w.bar()), nullptr);
    EXPECT_EQ(w.noteChildren(), 0);

    ResolutionNote::show(w.bar(), note);
    w.bar()->clearMessage();
    EXPECT_EQ(ResolutionNote::find(w.bar()), nullptr);
    EXPECT_EQ(w.noteChildren(), 0);
}

TEST(ResolutionNote, GoesWhenTheBarIsDrawnAnew)
{
    const std::function<void(QStatusBar*)> redraws[] = {
        [](QStatusBar* bar) { bar->window()->resize(bar->window()->width() + 40, bar->window()->height()); },
        [](QStatusBar* bar) { bar->hide(); },
        [](QStatusBar* bar) {
            QFont bigger = bar->font();
            bigger.setPointSizeF(bigger.pointSizeF() + 2);
            bar->setFont(bigger);
        },
    };
    for (const auto& redraw : redraws) {
        Window w;
        ResolutionNote::show(w.bar(), note);
        QApplication::processEvents();
        ASSERT_NE(ResolutionNote::find(w.bar()), nullptr) << "showing the note must not remove it";
        redraw(w.bar());
        QApplication::processEvents();
        EXPECT_EQ(ResolutionNote::find(w.bar()), nullptr);
        EXPECT_EQ(w.noteChildren(), 0);
    }
}

TEST(ResolutionNote, StaysThroughUnrelatedPaintsAndAnotherReplacesIt)
{
    Window w;
    ResolutionNote::show(w.bar(), QStringLiteral("first"));
    w.bar()->repaint();
    w.window.repaint();
    QApplication::processEvents();
    ASSERT_NE(ResolutionNote::find(w.bar()), nullptr);

    ResolutionNote* second = ResolutionNote::show(w.bar(), note);
    EXPECT_EQ(ResolutionNote::find(w.bar()), second);
    EXPECT_EQ(w.noteChildren(), 1) << "one note at a time";
    EXPECT_EQ(second->text(), note);
}

TEST(ResolutionNote, DismissAndNoBar)
{
    Window w;
    ResolutionNote::show(w.bar(), note);
    ResolutionNote::dismiss(w.bar());
    EXPECT_EQ(ResolutionNote::find(w.bar()), nullptr);
    EXPECT_EQ(w.noteChildren(), 0);
    ResolutionNote::dismiss(w.bar()); // nothing left to remove

    EXPECT_EQ(ResolutionNote::show(nullptr, note), nullptr);
    EXPECT_EQ(ResolutionNote::find(nullptr), nullptr);
    ResolutionNote::dismiss(nullptr);
}

TEST(ResolutionNote, GoesWithItsBar)
{
    auto* window = new QMainWindow;
    window->statusBar()->showMessage(idle);
    window->show();
    ResolutionNote::show(window->statusBar(), note);
    delete window; // the note is the bar's child: nothing dangles
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SUCCEED();
}

} // namespace
