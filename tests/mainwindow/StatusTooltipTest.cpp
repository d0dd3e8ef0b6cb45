// The main window's status panes against the status tooltip areas: every
// area lies over the pane it names.

#include "PaneBar.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusPanes, TooltipAreasLieOverTheirPanes)
{
    PaneBar bar;
    bar.setPanes({{115, true, {}}, {135, true, {}}, {175, false, {}}, {75, true, {}},
                  {30, false, {}}, {75, true, {}}, {30, false, {}}, {75, true, {}}});
    bar.resize(bar.sizeHint());
    // Area x ranges (right edge excluded) and the pane each one describes.
    const struct { int from, to, pane; } areas[] = {
        {0, 121, 0}, {123, 264, 1}, {449, 530, 3}, {570, 651, 5}, {691, 743, 7}};
    for (const auto& a : areas) {
        EXPECT_EQ(bar.paneAt(QPoint(a.from, 12)), a.pane) << a.from;
        EXPECT_EQ(bar.paneAt(QPoint(a.to - 1, 12)), a.pane) << a.to;
    }
    EXPECT_EQ(bar.paneRect(0), QRect(0, 2, 121, bar.height() - 2));
    EXPECT_EQ(bar.paneAt(QPoint(122, 12)), -1);
}

} // namespace
