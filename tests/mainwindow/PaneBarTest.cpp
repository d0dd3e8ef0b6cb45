#include "PaneBar.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {


// The main window's own layout of the bar.
QList<PaneBar::Pane> mainWindowPanes()
{
    return {
        { 115, true, "\tRes:   LOW" },
        { 135, true, "\tVelocity:   1000" },
        { 175, false, "\t\tDesired Position:   X" },
        { 75, true, "\tundefined" },
        { 30, false, "\t\tY" },
        { 75, true, "\tundefined" },
        { 30, false, "\t\tZ" },
        { 75, true, "\tundefined" },
    };
}

void addMainWindowToolTips(PaneBar& bar)
{
    bar.addToolTipArea(QRect(QPoint(0, 2), QPoint(121, 23)), "Current Resolution (Double Click)");
    bar.addToolTipArea(QRect(QPoint(123, 2), QPoint(264, 23)), "Current Velocity (Double Click)");
    bar.addToolTipArea(QRect(QPoint(449, 2), QPoint(530, 23)), "Current X Position");
    bar.addToolTipArea(QRect(QPoint(570, 2), QPoint(651, 23)), "Current Y Position");
    bar.addToolTipArea(QRect(QPoint(691, 2), QPoint(743, 23)), "Current Z Position");
}

class PaneBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_bar.setPanes(mainWindowPanes());
        m_bar.resize(m_bar.sizeHint());
    }

    // Horizontal extent of the darkest marks inside a pane: the text ink.
    // Returns an empty pair of -1 when there is none.
    QPair<int, int> inkExtent(const QImage& image, int pane, int threshold = 110) const
    {
        const QRect inside = m_bar.paneRect(pane).adjusted(2, 2, -2, -2);
        int first = -1, last = -1;
        for (int x = inside.left(); x <= inside.right(); ++x) {
            for (int y = inside.top(); y <= inside.bottom(); ++y) {
                if (qGray(image.pixel(x, y)) < threshold) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
            }
        }
        return { first, last };
    }

    QImage grabbed()
    {
        return m_bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    PaneBar m_bar;
};

TEST(PaneBarTextTest, LeadingTabsChooseAlignmentAndAreNotShown)
{
    struct Case {
        QString text;
        Qt::Alignment alignment;
        QString shown;
    };
    const Case cases[] = {
        { "Res:   LOW", Qt::AlignLeft, "Res:   LOW" },
        { "\tRes:   LOW", Qt::AlignHCenter, "Res:   LOW" },
        { "\t\tDesired Position:   X", Qt::AlignRight, "Desired Position:   X" },
        { "\t\t\tthree", Qt::AlignRight, "three" },
        { "", Qt::AlignLeft, "" },
        { "\t", Qt::AlignHCenter, "" },
        { "\t\t", Qt::AlignRight, "" },
        { " \tspace first", Qt::AlignLeft, " \tspace first" },
        { "a\tb", Qt::AlignLeft, "a\tb" },
        { "\ta\tb", Qt::AlignHCenter, "a\tb" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(PaneBar::alignmentOf(c.text), c.alignment);
        EXPECT_EQ(PaneBar::displayText(c.text), c.shown);
    }
}

TEST_F(PaneBarTest, PanesRunLeftToRightWithTwoPixelGaps)
{
    EXPECT_EQ(m_bar.paneCount(), 8);
    // Each pane covers its width plus 6 pixels of borders and inner space.
    EXPECT_EQ(m_bar.sizeHint(), QSize(710 + 8 * 6 + 7 * 2, 24));
    EXPECT_EQ(m_bar.paneRect(0), QRect(0, 2, 121, 22));
    EXPECT_EQ(m_bar.paneRect(1), QRect(123, 2, 141, 22));
    EXPECT_EQ(m_bar.paneRect(2), QRect(266, 2, 181, 22));
    EXPECT_EQ(m_bar.paneRect(7), QRect(691, 2, 81, 22));
    EXPECT_EQ(m_bar.paneRect(8), QRect());
    EXPECT_EQ(m_bar.paneRect(-1), QRect());
}

TEST_F(PaneBarTest, PaneAtFindsPanesAndNotTheGaps)
{
    const struct {
        QPoint pos;
        int pane;
    } cases[] = {
        { { 0, 12 }, 0 },
        { { 120, 12 }, 0 },
        { { 121, 12 }, -1 }, // gap
        { { 122, 12 }, -1 }, // gap
        { { 123, 12 }, 1 },
        { { 263, 12 }, 1 },
        { { 264, 12 }, -1 },
        { { 266, 12 }, 2 },
        { { 771, 12 }, 7 },
        { { 772, 12 }, -1 }, // right of the last pane
        { { -1, 12 }, -1 },
        { { 10, 1 }, -1 }, // above the panes
        { { 10, 2 }, 0 },
        { { 10, 23 }, 0 },
        { { 10, 24 }, -1 }, // below the bar
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1,%2").arg(c.pos.x()).arg(c.pos.y()).toStdString());
        EXPECT_EQ(m_bar.paneAt(c.pos), c.pane);
    }
}

TEST_F(PaneBarTest, PaneTextIsKeptPerPaneAndOutOfRangeIsHarmless)
{
    m_bar.setPaneText(3, "\t12.345");
    EXPECT_EQ(m_bar.paneText(3), "\t12.345");
    EXPECT_EQ(m_bar.paneText(5), "\tundefined");
    m_bar.setPaneText(8, "nowhere");
    m_bar.setPaneText(-1, "nowhere");
    EXPECT_EQ(m_bar.paneText(8), QString());
    EXPECT_EQ(m_bar.paneText(-1), QString());
    for (int i = 0; i < m_bar.paneCount(); ++i)
        EXPECT_NE(m_bar.paneText(i), "nowhere");
}

TEST_F(PaneBarTest, DoubleClickReportsThePaneUnderThePointer)
{
    QSignalSpy spy(&m_bar, &PaneBar::paneDoubleClicked);
    QTest::mouseDClick(&m_bar, Qt::LeftButton, {}, QPoint(50, 12));
    QTest::mouseDClick(&m_bar, Qt::LeftButton, {}, QPoint(200, 12));
    QTest::mouseDClick(&m_bar, Qt::LeftButton, {}, QPoint(700, 12));
    QTest::mouseDClick(&m_bar, Qt::LeftButton, {}, QPoint(122, 12));
    ASSERT_EQ(spy.count(), 4);
    EXPECT_EQ(spy[0][0].toInt(), 0);
    EXPECT_EQ(spy[1][0].toInt(), 1);
    EXPECT_EQ(spy[2][0].toInt(), 7);
    EXPECT_EQ(spy[3][0].toInt(), -1);

    spy.clear();
    QTest::mouseDClick(&m_bar, Qt::RightButton, {}, QPoint(50, 12));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(PaneBarTest, DisabledBarTakesNoDoubleClicks)
{
    QSignalSpy spy(&m_bar, &PaneBar::paneDoubleClicked);
    m_bar.setEnabled(false);
    QTest::ignoreMessage(QtWarningMsg, "Mouse event \"MouseDClick\" not accepted by receiving widget");
    QTest::mouseDClick(&m_bar, Qt::LeftButton, {}, QPoint(50, 12));
    EXPECT_EQ(spy.count(), 0);

    // Also through the window system, as a real pointer would arrive.
    m_bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_bar));
    QTest::mouseDClick(m_bar.windowHandle(), Qt::LeftButton, {}, QPoint(200, 12));
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 0);

    m_bar.setEnabled(true);
    QTest::mouseDClick(m_bar.windowHandle(), Qt::LeftButton, {}, QPoint(200, 12));
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 1);
}

TEST_F(PaneBarTest, ToolTipAreasAnswerInsideOnly)
{
    addMainWindowToolTips(m_bar);
    const struct {
        QPoint pos;
        const char* text;
    } cases[] = {
        { { 0, 2 }, "Current Resolution (Double Click)" },
        { { 121, 23 }, "Current Resolution (Double Click)" },
        { { 122, 12 }, "" },
        { { 123, 12 }, "Current Velocity (Double Click)" },
        { { 264, 12 }, "Current Velocity (Double Click)" },
        { { 265, 12 }, "" },
        { { 449, 12 }, "Current X Position" },
        { { 530, 12 }, "Current X Position" },
        { { 600, 12 }, "Current Y Position" },
        { { 743, 23 }, "Current Z Position" },
        { { 744, 12 }, "" },
        { { 50, 1 }, "" },
        { { 50, 24 }, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1,%2").arg(c.pos.x()).arg(c.pos.y()).toStdString());
        EXPECT_EQ(m_bar.toolTipAt(c.pos), QString(c.text));
    }
}

TEST_F(PaneBarTest, ToolTipEventShowsTheAreaTextAndHidesElsewhere)
{
    addMainWindowToolTips(m_bar);
    m_bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_bar));

    const QPoint inside(150, 12);
    QHelpEvent show(QEvent::ToolTip, inside, m_bar.mapToGlobal(inside));
    QApplication::sendEvent(&m_bar, &show);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Current Velocity (Double Click)");

    const QPoint outside(300, 12);
    QHelpEvent hide(QEvent::ToolTip, outside, m_bar.mapToGlobal(outside));
    QApplication::sendEvent(&m_bar, &hide);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));
}

TEST_F(PaneBarTest, TextIsPlacedAsItsTabsSay)
{
    m_bar.setPanes({
        { 200, true, "Left" },
        { 200, true, "\tMiddle" },
        { 200, true, "\t\tRight" },
    });
    m_bar.resize(m_bar.sizeHint());
    const QImage image = grabbed();

    const QRect left = m_bar.paneRect(0);
    const auto [leftFirst, leftLast] = inkExtent(image, 0);
    ASSERT_GE(leftFirst, 0);
    EXPECT_GE(leftFirst, left.left() + 2);
    EXPECT_LE(leftFirst, left.left() + 6);

    const QRect middle = m_bar.paneRect(1);
    const auto [middleFirst, middleLast] = inkExtent(image, 1);
    ASSERT_GE(middleFirst, 0);
    EXPECT_NEAR((middleFirst + middleLast) / 2.0, middle.center().x(), 3.0);

    const QRect right = m_bar.paneRect(2);
    const auto [rightFirst, rightLast] = inkExtent(image, 2);
    ASSERT_GE(rightFirst, 0);
    EXPECT_LE(rightLast, right.right() - 2);
    EXPECT_GE(rightLast, right.right() - 6);
}

TEST_F(PaneBarTest, LongTextIsElidedInsideItsPane)
{
    // Dense letters, so text running on to the frame would leave ink there.
    const QString wide = QString(40, QLatin1Char('W'));
    for (const QString& text : { wide, "\t" + wide, "\t\t" + wide }) {
        SCOPED_TRACE(text.toStdString());
        m_bar.setPanes({ { 60, true, text }, { 100, false, "" } });
        m_bar.resize(m_bar.sizeHint());
        const QImage image = grabbed();

        // Shortened to fit between the margins, not cut off at the frame.
        const QRect pane = m_bar.paneRect(0);
        const auto [first, last] = inkExtent(image, 0);
        ASSERT_GE(first, 0);
        EXPECT_GE(first, pane.left() + PaneBar::textMargin);
        EXPECT_LE(last, pane.right() - PaneBar::textMargin);

        // It ends in an ellipsis: the last few columns of ink are dots on the
        // baseline, well below the top of the letters.
        const QRect inside = pane.adjusted(2, 2, -2, -2);
        int inkTop = inside.bottom(), inkBottom = inside.top();
        for (int x = first; x <= last; ++x) {
            for (int y = inside.top(); y <= inside.bottom(); ++y) {
                if (qGray(image.pixel(x, y)) < 110) {
                    inkTop = qMin(inkTop, y);
                    inkBottom = qMax(inkBottom, y);
                }
            }
        }
        ASSERT_GE(inkBottom - inkTop, 6);
        for (int x = last - 2; x <= last; ++x) {
            for (int y = inkTop; y < inkBottom - 3; ++y)
                EXPECT_GE(qGray(image.pixel(x, y)), 110) << x << "," << y;
        }

        // Nothing spills into the gap or the next (empty) pane.
        const QRect beyond(pane.right() + 1, 2, 100, 22);
        int spilled = 0;
        for (int x = beyond.left(); x <= beyond.right(); ++x) {
            for (int y = beyond.top(); y <= beyond.bottom(); ++y)
                spilled += qGray(image.pixel(x, y)) < 110 ? 1 : 0;
        }
        EXPECT_EQ(spilled, 0);
        EXPECT_EQ(m_bar.paneText(0), text);
    }
}

TEST_F(PaneBarTest, DisabledBarGreysItsText)
{
    m_bar.setPanes({ { 200, false, "WWWW MMMM" } });
    m_bar.resize(m_bar.sizeHint());
    auto darkest = [this](const QImage& image) {
        int darkest = 255;
        const QRect r = m_bar.paneRect(0);
        for (int x = r.left(); x <= r.right(); ++x) {
            for (int y = r.top(); y <= r.bottom(); ++y)
                darkest = qMin(darkest, qGray(image.pixel(x, y)));
        }
        return darkest;
    };
    const int enabledInk = darkest(grabbed());
    m_bar.setEnabled(false);
    const int disabledInk = darkest(grabbed());
    EXPECT_LT(enabledInk, 80);
    EXPECT_GT(disabledInk, enabledInk + 40);
}

} // namespace
