#include "Printing.h"
#include "TravelLimits.h"
#include "WorkspaceGeometry.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Area = WorkspaceGeometry::Area;

TEST(WorkspaceGeometry, ClientSixHundredHigh)
{
    const WorkspaceGeometry g(600);
    ASSERT_TRUE(g.isValid());
    EXPECT_EQ(g.extent(), 500);
    EXPECT_EQ(g.scale(), 50);
    EXPECT_EQ(g.xyFrame(), QRect(QPoint(65, 20), QPoint(572, 527)));
    EXPECT_EQ(g.xyField(), QRect(QPoint(67, 22), QPoint(570, 525)));
    EXPECT_EQ(g.zFrame(), QRect(QPoint(595, 20), QPoint(629, 527)));
    EXPECT_EQ(g.zBar(), QRect(QPoint(597, 22), QPoint(627, 525)));
    EXPECT_EQ(g.xAt(67), -12700);
    EXPECT_EQ(g.xAt(569), 12400);
    EXPECT_EQ(g.xAt(570), 12700);
    EXPECT_EQ(g.rowAt(22), -12700);
    EXPECT_EQ(g.rowAt(524), 12400);
    EXPECT_EQ(g.rowAt(525), 12700);
    EXPECT_EQ(g.label(0).topLeft, QPoint(10, 10));
    EXPECT_EQ(g.label(1).topLeft, QPoint(40, 265));
    EXPECT_EQ(g.label(2).topLeft, QPoint(5, 515));
    EXPECT_EQ(g.label(3).topLeft, QPoint(310, 540));
    EXPECT_EQ(g.label(4).topLeft, QPoint(606, 540));
}

// Where the marker goes (field 67..570 x 22..525, bar 597..627 at a client
// height of 600): the cross's centre or the arrow's tip, the arrow's outward
// direction (none for the cross), the tick's row or the Z arrow's tip row
// and direction. Whatever is drawn stays inside the field and the bar.
struct MarkerCase
{
    Position microsteps;
    QPoint centre;
    QPoint outward;
    int zRow;
    int zOutward;
};

void PrintTo(const MarkerCase& c, std::ostream* os)
{
    *os << c.microsteps.x << "," << c.microsteps.y << "," << c.microsteps.z;
}

class WorkspaceMarkers : public testing::TestWithParam<MarkerCase>
{
};

TEST_P(WorkspaceMarkers, CrossInsideTheWorkspaceArrowAtTheEdgeBeyondIt)
{
    const WorkspaceGeometry g(600);
    const MarkerCase& c = GetParam();
    const WorkspaceGeometry::Marker m = g.marker(c.microsteps);
    if (c.outward.isNull()) {
        EXPECT_TRUE(m.xyArrow.isEmpty());
        EXPECT_EQ(QPoint(m.vertical.left(), m.horizontal.top()), c.centre);
        EXPECT_TRUE(g.xyField().contains(m.horizontal) && g.xyField().contains(m.vertical));
    } else {
        ASSERT_EQ(m.xyArrow.size(), 3);
        EXPECT_TRUE(m.horizontal.isEmpty() && m.vertical.isEmpty());
        EXPECT_EQ(m.xyArrow[0], c.centre);
        EXPECT_EQ((m.xyArrow[1] + m.xyArrow[2]) / 2, c.centre - c.outward * WorkspaceGeometry::arrowLength); // pointing outward
        EXPECT_TRUE(g.xyField().contains(m.xyArrow.boundingRect()));
    }
    if (c.zOutward == 0) {
        EXPECT_TRUE(m.zArrow.isEmpty());
        EXPECT_EQ(m.zTick, QRect(QPoint(597, c.zRow), QPoint(627, c.zRow)));
    } else {
        ASSERT_EQ(m.zArrow.size(), 3);
        EXPECT_TRUE(m.zTick.isEmpty());
        EXPECT_EQ(m.zArrow[0], QPoint(612, c.zRow));
        EXPECT_EQ((m.zArrow[1] + m.zArrow[2]) / 2, QPoint(612, c.zRow - c.zOutward * WorkspaceGeometry::arrowLength));
        EXPECT_TRUE(g.zBar().contains(m.zArrow.boundingRect()));
    }
}

constexpr qint32 kEdge = 317500; // 12700 um

INSTANTIATE_TEST_SUITE_P(
    Positions, WorkspaceMarkers,
    testing::Values(
        // u = v = w = 12700 / 50 = 254 from the field's first pixel
        MarkerCase{{0, 0, 0}, {321, 276}, {}, 276, 0},
        // Truncation toward zero: -12699.96 um is still the first column.
        MarkerCase{{-317499, -kEdge, -kEdge}, {67, 22}, {}, 22, 0},
        // +12700 would be 5 pixels beyond the field: the last column and row
        // stand for it, and the cross is cut at the edge.
        MarkerCase{{kEdge, kEdge, kEdge}, {570, 525}, {}, 525, 0},
        MarkerCase{{kEdge + 1, 0, 0}, {570, 276}, {1, 0}, 276, 0},
        MarkerCase{{0, -400000, 0}, {321, 22}, {0, -1}, 276, 0},
        // Along an edge the arrow keeps clear of the corner.
        MarkerCase{{kEdge + 1, -kEdge, 0}, {570, 28}, {1, 0}, 276, 0},
        MarkerCase{{INT32_MIN, INT32_MAX, 0}, {67, 525}, {-1, 1}, 276, 0},
        MarkerCase{{0, 0, -kEdge - 1}, {321, 276}, {}, 22, -1},
        MarkerCase{{0, 0, INT32_MAX}, {321, 276}, {}, 525, 1}));

// The parts the travel limits allow, and a line along each limit in the
// workspace (um; none for no limit).
struct LimitCase
{
    int axis;
    std::optional<int> lower;
    std::optional<int> upper;
    QRect xyAllowed;
    QRect zAllowed;
    size_t lines;
};

void PrintTo(const LimitCase& c, std::ostream* os)
{
    *os << "XYZ"[c.axis] << " " << (c.lower ? std::to_string(*c.lower) : "off") << " "
        << (c.upper ? std::to_string(*c.upper) : "off");
}

class WorkspaceLimits : public testing::TestWithParam<LimitCase>
{
};

TEST_P(WorkspaceLimits, ShadeWhatLiesOutsideTheLimits)
{
    const WorkspaceGeometry g(600);
    const LimitCase& c = GetParam();
    TravelLimits limits;
    auto steps = [](const std::optional<int>& um) {
        return um ? std::optional<std::int64_t>(std::int64_t{*um} * 25) : std::nullopt;
    };
    ASSERT_TRUE(limits.setRange(c.axis, {steps(c.lower), steps(c.upper)}));
    EXPECT_EQ(g.xyAllowed(limits), c.xyAllowed);
    EXPECT_EQ(g.zAllowed(limits), c.zAllowed);
    EXPECT_EQ(g.limitLines(limits).size(), c.lines);
}

const QRect kField(QPoint(67, 22), QPoint(570, 525));
const QRect kBar(QPoint(597, 22), QPoint(627, 525));

INSTANTIATE_TEST_SUITE_P(
    Limits, WorkspaceLimits,
    testing::Values(LimitCase{0, {}, {}, kField, kBar, 0},
                    // -5000 um: 7700 / 50 = 154 pixels in; 5000 um: 354
                    LimitCase{0, -5000, 5000, QRect(QPoint(221, 22), QPoint(421, 525)), kBar, 2},
                    LimitCase{1, {}, 5000, QRect(QPoint(67, 22), QPoint(570, 376)), kBar, 1},
                    LimitCase{2, -5000, {}, kField, QRect(QPoint(597, 176), QPoint(627, 525)), 1},
                    // At the field's very edge, or pinned to the last column.
                    LimitCase{1, -12700, {}, kField, kBar, 1},
                    LimitCase{0, {}, 12600, kField, kBar, 1},
                    // Beyond the workspace: nothing to draw, or nothing allowed.
                    LimitCase{1, -20000, 20000, kField, kBar, 0},
                    LimitCase{0, 13000, {}, QRect(), kBar, 0},
                    LimitCase{2, {}, -13000, kField, QRect(), 0}));

struct HitCase
{
    QPoint point;
    Area area;
};

class WorkspaceHits : public testing::TestWithParam<HitCase>
{
};

TEST_P(WorkspaceHits, FieldsAreHitFramesAndBackgroundAreNot)
{
    EXPECT_EQ(WorkspaceGeometry(600).areaAt(GetParam().point), GetParam().area);
}

INSTANTIATE_TEST_SUITE_P(Points, WorkspaceHits,
                         testing::Values(HitCase{{67, 22}, Area::XyField}, HitCase{{570, 525}, Area::XyField},
                                         HitCase{{318, 273}, Area::XyField}, HitCase{{66, 100}, Area::None},
                                         HitCase{{65, 20}, Area::None}, HitCase{{571, 100}, Area::None},
                                         HitCase{{100, 526}, Area::None}, HitCase{{10, 10}, Area::None},
                                         HitCase{{597, 22}, Area::ZBar}, HitCase{{627, 525}, Area::ZBar},
                                         HitCase{{596, 100}, Area::None}, HitCase{{628, 100}, Area::None},
                                         HitCase{{700, 100}, Area::None}));

TEST(WorkspaceGeometry, NoFieldWithoutRoom)
{
    for (int height : {0, 50, 100, 25501}) {
        const WorkspaceGeometry g(height);
        EXPECT_FALSE(g.isValid()) << height;
        EXPECT_EQ(g.areaAt(QPoint(67, 22)), Area::None) << height;
    }
    EXPECT_TRUE(WorkspaceGeometry(101).isValid());
    EXPECT_EQ(WorkspaceGeometry(101).scale(), 25400);
    EXPECT_EQ(WorkspaceGeometry().areaAt(QPoint(67, 22)), Area::None); // before the first paint
}

} // namespace
