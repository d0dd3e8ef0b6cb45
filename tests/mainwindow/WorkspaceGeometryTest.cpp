#include "Printing.h"
#include "WorkspaceGeometry.h"

#include <gtest/gtest.h>

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

TEST(WorkspaceGeometry, MarkerStrokes)
{
    const WorkspaceGeometry g(600);
    const WorkspaceGeometry::Marker centre = g.marker(Position{0, 0, 0});
    // u = v = w = 12700 / 50 = 254
    EXPECT_EQ(centre.horizontal, QRect(QPoint(315, 276), QPoint(326, 276)));
    EXPECT_EQ(centre.vertical, QRect(QPoint(321, 270), QPoint(321, 281)));
    EXPECT_EQ(centre.zTick, QRect(QPoint(597, 276), QPoint(627, 276)));
    // +12700 µm is drawn beyond the field's last column.
    EXPECT_EQ(g.marker(Position{317500, 0, 0}).vertical.left(), 575);
    // Truncation toward zero: -12699.96 µm is still pixel 0 of the plan.
    EXPECT_EQ(g.marker(Position{-317499, -317500, 0}).vertical.left(), 67);
}

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
