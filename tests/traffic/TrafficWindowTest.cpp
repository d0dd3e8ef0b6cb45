#include "TrafficLogModel.h"
#include "TrafficRig.h"
#include "TrafficWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

TEST(TrafficWindow, ListsAMoveWhileOpenAndNothingWhileClosed)
{
    TrafficRig rig;
    QMainWindow window;
    QAction toggle(QStringLiteral("Serial Traffic"));
    toggle.setCheckable(true);
    TrafficWindow* traffic = TrafficWindow::install(&window, &toggle, rig.traced, rig.prompts);
    window.show();
    EXPECT_FALSE(traffic->isVisible());
    EXPECT_FALSE(rig.traced.isObserved());

    toggle.setChecked(true);
    ASSERT_TRUE(traffic->isVisible());
    EXPECT_TRUE(rig.traced.isObserved());
    rig.ops.absoluteMove(Position{25000, 0, 0});
    const TrafficLogModel& model = traffic->model();
    ASSERT_GE(model.rowCount(), 4);
    EXPECT_EQ(model.index(0, TrafficLogModel::CommandColumn).data().toString(), QStringLiteral("move command"));
    EXPECT_EQ(model.index(0, TrafficLogModel::BytesColumn).data().toString(),
              QStringLiteral("6D A8 61 00 00 00 00 00 00 00 00 00 00 0D"));
    EXPECT_EQ(traffic->findChild<QLabel*>(QStringLiteral("trafficCount"))->text(),
              QStringLiteral("%1 lines").arg(model.rowCount()));

    // Tabbed behind another dock it still keeps its log.
    auto* other = new QDockWidget(QStringLiteral("Other"), &window);
    window.addDockWidget(Qt::BottomDockWidgetArea, other);
    window.tabifyDockWidget(traffic, other);
    QApplication::processEvents();
    other->raise();
    QApplication::processEvents();
    EXPECT_TRUE(rig.traced.isObserved());

    // Closed by its own close box: the menu item follows, the port is left alone.
    traffic->close();
    EXPECT_FALSE(toggle.isChecked());
    EXPECT_FALSE(rig.traced.isObserved());
    const int rows = model.rowCount();
    rig.ops.absoluteMove(Position{0, 0, 0});
    EXPECT_EQ(model.rowCount(), rows);

    traffic->findChild<QPushButton*>(QStringLiteral("clearTrafficButton"))->click();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(TrafficWindow, SavesTheLinesAsText)
{
    TrafficRig rig;
    TrafficWindow traffic(rig.traced, rig.prompts);
    traffic.show();
    Position at;
    rig.control.queryPosition(&at);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("traffic.txt"));
    rig.prompts.fileNames.push_back(path);
    ASSERT_TRUE(traffic.save());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), traffic.model().log().text());
    EXPECT_FALSE(traffic.save()); // Cancel

    rig.prompts.fileNames.push_back(dir.filePath(QStringLiteral("no/such/folder/traffic.txt")));
    EXPECT_FALSE(traffic.save());
    ASSERT_EQ(rig.prompts.shown.size(), 1);
    EXPECT_TRUE(rig.prompts.shown[0].text.startsWith(QStringLiteral("Cannot save the serial traffic in ")));
}

TEST(TrafficLogModel, DropsTheOldestRowWhenFull)
{
    TrafficLogModel model(2);
    for (int i = 0; i < 3; ++i) {
        TrafficLine line;
        line.bytes = QByteArray(1, static_cast<char>(0x61 + i));
        model.exchanged(line);
    }
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(0, TrafficLogModel::BytesColumn).data().toString(), QStringLiteral("62"));
    EXPECT_EQ(model.headerData(TrafficLogModel::DirectionColumn, Qt::Horizontal).toString(), QStringLiteral("Direction"));
}

} // namespace
