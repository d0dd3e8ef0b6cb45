#include "CQx410View.h"
#include "ControlState.h"
#include "Printing.h"

#include <QDialog>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct View
{
    View()
        : view(state)
    {
        view.resize(800, 600);
        view.setOnMove([this](const Position& p) { moves.append(p); });
        view.setOnDesired([this](int axis, const QString& text) { desired[axis] = text; });
    }
    // The pointer moves over the view (sent straight to it: an offscreen
    // window has no real pointer).
    void hover(const QPoint& p)
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(p), QPointF(view.mapToGlobal(p)), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    }
    // Paints once, as the window system would.
    void paint() { view.grab(); }
    QRgb planPixel(int x, int y) const
    {
        const qreal r = view.plan().devicePixelRatio();
        return view.plan().pixel(static_cast<int>(x * r), static_cast<int>(y * r));
    }

    ControlState state;
    CQx410View view;
    QList<Position> moves;
    QString desired[3];
};

TEST(CQx410View, ClickInTheFieldMovesXAndYAndKeepsZ)
{
    View v;
    v.state.current = Position{1, 2, 3};
    v.paint();
    QTest::mouseClick(&v.view, Qt::LeftButton, {}, QPoint(318, 273)); // the middle of the field
    ASSERT_EQ(v.moves.size(), 1);
    EXPECT_EQ(v.moves[0], (Position{((318 - 67) * 50 - 12700) * 25, ((273 - 22) * 50 - 12700) * 25, 3}));
    EXPECT_EQ(v.view.cursor().shape(), Qt::CrossCursor);
}

TEST(CQx410View, ClickInTheZBarMovesZOnly)
{
    View v;
    v.state.current = Position{1, 2, 3};
    v.paint();
    QTest::mouseClick(&v.view, Qt::RightButton, {}, QPoint(600, 525));
    ASSERT_EQ(v.moves.size(), 1);
    EXPECT_EQ(v.moves[0], (Position{1, 2, 12700 * 25}));
}

TEST(CQx410View, ClicksOnFramesBackgroundBeforePaintOrWhileBusyDoNothing)
{
    View v;
    QTest::mouseClick(&v.view, Qt::LeftButton, {}, QPoint(318, 273)); // not painted yet
    v.paint();
    for (QPoint p : {QPoint(65, 20), QPoint(66, 300), QPoint(30, 300), QPoint(700, 300), QPoint(596, 300)})
        QTest::mouseClick(&v.view, Qt::LeftButton, {}, p);
    v.state.busy = true;
    QTest::mouseClick(&v.view, Qt::LeftButton, {}, QPoint(318, 273));
    QTest::mouseDClick(&v.view, Qt::LeftButton, {}, QPoint(318, 273));
    EXPECT_TRUE(v.moves.isEmpty());
}

TEST(CQx410View, DoubleClicksMoveToo)
{
    View v;
    v.paint();
    QTest::mouseDClick(&v.view, Qt::LeftButton, {}, QPoint(67, 22));
    ASSERT_FALSE(v.moves.isEmpty());
    EXPECT_EQ(v.moves.last(), (Position{-12700 * 25, -12700 * 25, 0}));
}

TEST(CQx410View, MouseOverTheFieldShowsTheDesiredPositionUnlessBusy)
{
    View v;
    v.paint();
    v.hover(QPoint(570, 22));
    EXPECT_EQ(v.desired[0], QStringLiteral("\t12700"));
    EXPECT_EQ(v.desired[1], QStringLiteral("\t-12700"));
    EXPECT_EQ(v.view.cursor().shape(), Qt::CrossCursor);
    v.hover(QPoint(600, 72));
    EXPECT_EQ(v.desired[2], QStringLiteral("\t-10200"));
    v.hover(QPoint(700, 300));
    EXPECT_EQ(v.view.cursor().shape(), Qt::ArrowCursor);

    v.state.busy = true;
    v.hover(QPoint(100, 100));
    EXPECT_EQ(v.view.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(v.desired[0], QStringLiteral("\t12700"));
}

TEST(CQx410View, PaintDrawsTheMarkerWhereItWasLastDrawnAndRefreshMovesIt)
{
    View v;
    v.state.current = Position{-317500, -317500, 0}; // a move's target, not reached yet
    v.paint();
    EXPECT_EQ(v.planPixel(67, 25), CQx410View::fieldColour.rgb());
    // Marker at the centre: vertical stroke at x 321 from y 270 to 281.
    EXPECT_EQ(v.planPixel(321, 275), CQx410View::markerColour.rgb());
    EXPECT_EQ(v.planPixel(100, 100), CQx410View::fieldColour.rgb());
    EXPECT_EQ(v.planPixel(2, 300), CQx410View::background.rgb());

    v.view.refreshMarker(Position{0, 0, 0}, Position{-317500, -317500, 0});
    EXPECT_EQ(v.planPixel(321, 275), CQx410View::fieldColour.rgb()); // erased
    EXPECT_EQ(v.planPixel(67, 25), CQx410View::markerColour.rgb());  // drawn at the top-left corner
}

// Outside the travel limits the field is shaded; the marker moving over the
// shading leaves it as it was.
TEST(CQx410View, ShadingOutsideTheLimitsSurvivesTheMarker)
{
    View v;
    TravelLimits limits;
    limits.setRange(0, {-5000 * 25, 5000 * 25});
    v.view.setTravelLimits(limits);
    v.paint();
    const QPoint shaded(100, 276); // -11050 um, on the marker's row at X = -11000 um
    const QRgb before = v.planPixel(shaded.x(), shaded.y());
    EXPECT_NE(before, CQx410View::fieldColour.rgb());
    EXPECT_EQ(v.planPixel(321, 100), CQx410View::fieldColour.rgb()); // allowed
    const Position over{-11000 * 25, 0, 0};
    v.view.refreshMarker(Position{}, over);
    EXPECT_EQ(v.planPixel(shaded.x(), shaded.y()), CQx410View::markerColour.rgb());
    v.view.refreshMarker(over, Position{});
    EXPECT_EQ(v.planPixel(shaded.x(), shaded.y()), before);
}

TEST(CQx410View, OneCaptureDialogAtATime)
{
    View v;
    int made = 0;
    auto factory = [&made](QWidget* owner) {
        ++made;
        return new QDialog(owner);
    };
    v.view.openCapture(factory);
    QDialog* first = v.view.capture();
    v.view.openCapture(factory);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(v.view.capture(), first);
    v.view.onCaptureClosed();
    v.view.openCapture(factory);
    EXPECT_EQ(made, 2);
    EXPECT_NE(v.view.capture(), first);
}

} // namespace
