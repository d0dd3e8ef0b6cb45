// The link on a real serial device: QSerialPort on a pseudo-terminal served by
// the simulated controller. Few and short; the patterns themselves are tested
// on the virtual clock.

#include "Controller.h"
#include "Printing.h"
#include "QtSerialPortDevice.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SystemClock.h"
#include "Units.h"

#include <PtyServer.h>
#include <SimController.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct RealLink
{
    explicit RealLink(qx410sim::PtyServerOptions options = {})
        : server(controller, options)
        , link(port, clock, prompts, settings)
    {
        link.setRecoveryEnabled(false);
    }

    bool start()
    {
        if (!server.open())
            return false;
        server.start();
        settings.portName = QString::fromStdString(server.devicePath());
        return link.open() == SerialLink::OpenResult::Opened;
    }

    qx410sim::SimController controller;
    qx410sim::PtyServer server;
    QtSerialPortDevice port;
    SystemClock clock;
    ScriptedPrompts prompts;
    SerialSettings settings;
    SerialLink link;
};

// QSerialPort's notifiers need an application object on this thread.
class QtApplicationEnvironment : public testing::Environment
{
public:
    void SetUp() override { m_app = std::make_unique<QCoreApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "qx410linktests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
};
[[maybe_unused]] testing::Environment* const qtEnvironment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

TEST(RealSerial, MoveAwaitedThroughTheEventLoopThenReadBack)
{
    qx410sim::PtyServerOptions fast;
    fast.timeScale = 20; // a 2 s move takes 100 ms
    RealLink r(fast);
    ASSERT_TRUE(r.start()) << r.server.errorString() << qPrintable(r.link.lastError());

    int pumps = 0;
    r.link.setMessagePump([&] {
        ++pumps;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return true;
    });
    Controller c(r.link);
    ASSERT_EQ(c.setVelocity(1000), LinkStatus::Ok);
    bool busy = false;
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(c.move(Units::micronsToMicrosteps(Position{2000, -1000, 5}), busy), LinkStatus::Ok);
    EXPECT_GE(timer.elapsed(), 90);
    EXPECT_FALSE(busy);
    // The wait blocks on events rather than spinning.
    EXPECT_LT(pumps, 50);

    Position p;
    ASSERT_EQ(c.queryPosition(&p), LinkStatus::Ok);
    EXPECT_EQ(Units::microstepsToMicrons(p), (Position{2000, -1000, 5}));
    std::array<int, StatusBlock::count> status{};
    ASSERT_EQ(c.queryStatus(&status), LinkStatus::Ok);
    EXPECT_EQ(status[4], 1000);
    EXPECT_EQ(c.refreshDisplay(), LinkStatus::Ok);
    r.link.close();
    r.server.stop();
}

TEST(RealSerial, VanishingDeviceEndsTheWaitInsteadOfHanging)
{
    qx410sim::PtyServerOptions closing;
    closing.closeAfterCommands = 1;
    RealLink r(closing);
    ASSERT_TRUE(r.start());
    Controller c(r.link);
    Position p;
    ASSERT_EQ(c.queryPosition(&p), LinkStatus::Ok);
    bool busy = false;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(c.move(Position{2500000, 0, 0}, busy, 5000), LinkStatus::Failed);
    EXPECT_LT(timer.elapsed(), 4000);
    EXPECT_FALSE(busy);
    r.server.stop();
}

TEST(RealSerial, MissingDeviceCannotBeOpened)
{
    QtSerialPortDevice port;
    SystemClock clock;
    ScriptedPrompts prompts;
    SerialSettings settings;
    settings.portName = QStringLiteral("/dev/qx410-no-such-device");
    SerialLink link(port, clock, prompts, settings);
    EXPECT_EQ(link.open(), SerialLink::OpenResult::CannotOpen);
    EXPECT_FALSE(link.systemError().isEmpty());
}

} // namespace
