#include "Commands.h"
#include "Controller.h"
#include "Printing.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <gtest/gtest.h>

namespace {

using Answer = Prompts::Answer;

// A link to the simulated controller on the virtual clock.
struct LinkFixture
{
    explicit LinkFixture(qx410sim::Faults faults = {}, qint64 startMs = 1'700'000'000'000)
        : controller(faults)
        , clock(startMs)
        , port(controller, clock)
        , link(port, clock, prompts, settings)
    {
    }

    bool open()
    {
        return link.open() == SerialLink::OpenResult::Opened;
    }

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings settings;
    SerialLink link;
};

qx410sim::Faults silentController()
{
    qx410sim::Faults faults;
    faults.silent = true;
    return faults;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

TEST(SerialLinkOpen, MapsPortNamesAndAppliesFraming)
{
    qputenv("QX410_COM2", "/dev/pts/77");
    qunsetenv("QX410_COM1");
    LinkFixture f;
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.port.openedDevices.last(), QStringLiteral("/dev/ttyS0"));
    ASSERT_TRUE(f.port.settings);
    EXPECT_EQ(f.port.settings->baud, 9600);
    EXPECT_EQ(f.port.settings->parity, 'N');
    EXPECT_EQ(f.port.settings->dataBits, 8);
    EXPECT_EQ(f.port.settings->stopBits, 1);

    f.link.close();
    f.settings.portName = QStringLiteral("COM2");
    f.settings.framing = QStringLiteral("19200,N,8,1");
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.port.openedDevices.last(), QStringLiteral("/dev/pts/77"));
    EXPECT_EQ(f.port.settings->baud, 19200);
    qunsetenv("QX410_COM2");
}

TEST(SerialLinkOpen, PortThatCannotBeOpenedWarnsAndEnds)
{
    qunsetenv("QX410_COM1");
    LinkFixture f;
    f.port.refuseOpen(QStringLiteral("Permission denied"));
    EXPECT_FALSE(f.link.openOrEnd());
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.prompts.shown[0].text, QStringLiteral("Cannot open serial port. Please check hardware."));
    EXPECT_EQ(f.prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Warning);
    EXPECT_EQ(f.prompts.shown[0].buttons, Prompts::Buttons::Ok);
    EXPECT_EQ(f.prompts.endedWith, QList<int>{-1});
    EXPECT_EQ(f.link.systemError(), QStringLiteral("Permission denied"));
    // The fixed text stays as it is; the device, the reason and a hint go below it.
    ASSERT_EQ(f.prompts.details.size(), 1);
    EXPECT_TRUE(f.prompts.details[0].startsWith(QStringLiteral("COM1 is /dev/ttyS0. Permission denied")))
        << qPrintable(f.prompts.details[0]);
    EXPECT_TRUE(f.prompts.details[0].contains(QStringLiteral("dialout")));
}

class SerialLinkFraming : public testing::TestWithParam<const char*>
{
};

TEST_P(SerialLinkFraming, MalformedOrUnsupportedFramingFailsToApply)
{
    LinkFixture f;
    f.settings.framing = QString::fromLatin1(GetParam());
    EXPECT_EQ(f.link.open(), SerialLink::OpenResult::CannotConfigure);
    EXPECT_FALSE(f.port.isOpen());
    EXPECT_FALSE(f.link.openOrEnd());
    EXPECT_EQ(f.prompts.shown.last().text, QStringLiteral("Cannot set serial port properly. Please check hardware."));
    EXPECT_EQ(f.prompts.endedWith, QList<int>{-1});
}

INSTANTIATE_TEST_SUITE_P(Strings, SerialLinkFraming,
                         testing::Values("14400,N,8,1", "9600", "9600;N;8;1", "", "abc,N,8,1", "9600,X,8,1",
                                         "9600,N,9,1", "9600,N,8,3", "-9600,N,8,1", "9600,N,8,1,1"));

TEST(SerialLinkSettings, PortChangeReopensAndBadFramingWarnsButCarriesOn)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    f.settings.portName = QStringLiteral("/dev/other");
    f.link.applyNewSettings(true);
    EXPECT_EQ(f.port.openedDevices.last(), QStringLiteral("/dev/other"));
    EXPECT_TRUE(f.link.isOpen());

    f.settings.framing = QStringLiteral("300,N,8,1");
    f.link.applyNewSettings(false);
    EXPECT_TRUE(f.link.isOpen());
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.prompts.shown[0].text, SerialLink::cannotSetText);
    EXPECT_TRUE(f.prompts.endedWith.isEmpty());
}

TEST(SerialLinkTransfer, SendAndSettleWaitsAndLeavesBuffersEmpty)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    f.port.inject("stray");
    const qint64 before = f.clock.nowMs();
    // The refresh command makes the controller answer; settling discards it.
    EXPECT_EQ(f.link.sendAndSettle(Commands::refreshDisplay()), LinkStatus::Ok);
    EXPECT_GE(f.clock.nowMs() - before, 100);
    EXPECT_EQ(f.port.bytesAvailable(), 0);
    EXPECT_EQ(f.port.written, bytes({0x6E, 0x0D}));
}

TEST(SerialLinkTransfer, WatchedReadDiscardsStrayInputFirst)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    f.port.inject(QByteArray(5, '\x01'));
    Controller c(f.link);
    Position p{1, 2, 3};
    EXPECT_EQ(c.queryPosition(&p), LinkStatus::Ok);
    EXPECT_EQ(p, (Position{0, 0, 0}));
    EXPECT_EQ(f.port.written, bytes({0x63, 0x0D}));
}

TEST(SerialLinkTransfer, WaitForCrSkipsBytesUpToTheCr)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    f.port.inject("abc\rrest");
    EXPECT_EQ(f.link.waitForCr(), LinkStatus::Ok);
    EXPECT_EQ(f.port.read(10), QByteArray("rest"));
}

// The reply watch: a silent controller leads to the recovery prompt once the
// seconds count has advanced by seven, wherever in a second or a minute the
// query started.
class ReplyWatch : public testing::TestWithParam<qint64>
{
};

TEST_P(ReplyWatch, FiresAfterTheSeventhSecondsTick)
{
    const qint64 start = GetParam();
    LinkFixture f(silentController(), start);
    ASSERT_TRUE(f.open());
    Position p{7, 8, 9};
    EXPECT_EQ(Controller(f.link).queryPosition(&p), LinkStatus::Failed);
    const qint64 waited = f.clock.nowMs() - start;
    EXPECT_GT(waited, 6000);
    EXPECT_LE(waited, 7000);
    EXPECT_EQ(f.clock.nowMs() / 1000 - start / 1000, 7);
    EXPECT_EQ(p, (Position{7, 8, 9}));
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.prompts.shown[0].text,
              QStringLiteral("Cannot communicate with the controller.\r Please make sure controller is turned on!\r Or "
                             "reset communication?"));
    EXPECT_EQ(f.prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Warning);
    EXPECT_EQ(f.prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    // No: the port is released and the process ends with -1.
    EXPECT_EQ(f.prompts.endedWith, QList<int>{-1});
    EXPECT_FALSE(f.port.isOpen());
}

INSTANTIATE_TEST_SUITE_P(StartTimes, ReplyWatch,
                         testing::Values(1'700'000'000'000,   // on a second
                                         1'700'000'000'999,   // last millisecond of a second
                                         1'700'000'055'500,   // seconds 55.5 of a minute
                                         1'700'000'059'999)); // the minute turns during the watch

TEST(RecoveryPrompt, YesShowsSetupInStartupModeAndReopensThePort)
{
    LinkFixture f(silentController());
    ASSERT_TRUE(f.open());
    f.prompts.answers = {Answer::Yes};
    bool sawStartupMode = false;
    QStringList observed;
    f.link.setRecoveryObserver([&](bool asking) { observed << (asking ? "asking" : "answered"); });
    f.link.setSetupHook([&] {
        observed << "setup";
        sawStartupMode = f.settings.startupMode;
        f.settings.portName = QStringLiteral("/dev/ttyUSB3");
        f.settings.framing = QStringLiteral("4800,N,8,1");
        return true;
    });
    EXPECT_EQ(f.link.watchedRead(Commands::positionQuery(), 13, nullptr), LinkStatus::Recovered);
    EXPECT_TRUE(sawStartupMode);
    // The observer is told around the prompt and the port choice after it.
    EXPECT_EQ(observed, (QStringList{"asking", "setup", "answered"}));
    EXPECT_FALSE(f.settings.startupMode);
    EXPECT_TRUE(f.port.isOpen());
    EXPECT_EQ(f.port.openedDevices.last(), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(f.port.settings->baud, 4800);
    EXPECT_TRUE(f.prompts.endedWith.isEmpty());
}

TEST(RecoveryPrompt, YesThenCancelEndsTheProcess)
{
    LinkFixture f(silentController());
    ASSERT_TRUE(f.open());
    f.prompts.answers = {Answer::Yes};
    f.link.setSetupHook([] { return false; });
    EXPECT_EQ(f.link.watchedRead(Commands::positionQuery(), 13, nullptr), LinkStatus::Failed);
    EXPECT_EQ(f.prompts.endedWith, QList<int>{-1});
    EXPECT_FALSE(f.port.isOpen());
}

TEST(RecoveryPrompt, YesThenAPortThatCannotBeOpenedEnds)
{
    LinkFixture f(silentController());
    ASSERT_TRUE(f.open());
    f.prompts.answers = {Answer::Yes};
    f.link.setSetupHook([&] {
        f.port.refuseOpen(QStringLiteral("No such file or directory"));
        return true;
    });
    EXPECT_EQ(f.link.watchedRead(Commands::positionQuery(), 13, nullptr), LinkStatus::Failed);
    EXPECT_EQ(f.prompts.shown.last().text, SerialLink::cannotOpenText);
    EXPECT_EQ(f.prompts.endedWith, QList<int>{-1});
}

TEST(RecoveryPrompt, OffOnTheCommandLine)
{
    LinkFixture f(silentController());
    ASSERT_TRUE(f.open());
    f.link.setRecoveryEnabled(false);
    EXPECT_EQ(f.link.watchedRead(Commands::positionQuery(), 13, nullptr), LinkStatus::Failed);
    EXPECT_TRUE(f.prompts.shown.isEmpty());
    EXPECT_FALSE(f.link.lastError().isEmpty());
}

// Reads the controller protocol leaves unbounded end in the recovery prompt
// instead of a frozen window.
TEST(BoundedReads, SilentOrShortRepliesLeadToTheRecoveryPrompt)
{
    {
        LinkFixture f(silentController());
        ASSERT_TRUE(f.open());
        const qint64 start = f.clock.nowMs();
        EXPECT_EQ(Controller(f.link).refreshDisplay(), LinkStatus::Failed);
        EXPECT_EQ(f.clock.nowMs() - start, SerialLink::replyBoundMs);
        EXPECT_EQ(f.prompts.shown.last().text, SerialLink::noReplyText);
    }
    qx410sim::Faults shortReplies;
    shortReplies.shortReplies = true;
    {
        LinkFixture f(shortReplies);
        ASSERT_TRUE(f.open());
        std::array<int, StatusBlock::count> numbers{};
        EXPECT_EQ(Controller(f.link).queryStatus(&numbers), LinkStatus::Failed);
        EXPECT_EQ(f.prompts.shown.last().text, SerialLink::noReplyText);
    }
}

// A controller that sends one byte every 6 s, and falls silent after `total`.
class DripPort : public PortDevice
{
public:
    DripPort(VirtualClock& clock, int total)
        : m_clock(clock)
        , m_left(total)
    {
    }
    bool open(const QString&) override { return true; }
    bool applySettings(const LineSettings&) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool write(const QByteArray&, int) override { return true; }
    qint64 bytesAvailable() override { return m_arrived; }
    QByteArray read(qint64 maxBytes) override
    {
        const qint64 n = std::min(maxBytes, m_arrived);
        m_arrived -= n;
        return QByteArray(static_cast<int>(n), 'x');
    }
    bool waitForData(int timeoutMs) override
    {
        if (m_left == 0 || timeoutMs < 6000) {
            m_clock.sleepMs(timeoutMs);
            return false;
        }
        m_clock.sleepMs(6000);
        --m_left;
        ++m_arrived;
        return true;
    }
    void clear(bool) override { m_arrived = 0; }
    bool failed() const override { return false; }
    QString errorText() const override { return {}; }

private:
    VirtualClock& m_clock;
    int m_left;
    qint64 m_arrived = 0;
};

// A read ends 10 s after the last byte that arrived, not 10 s after it began:
// a long answer that keeps coming is read whole.
TEST(BoundedReads, TheBoundRunsFromTheLastByte)
{
    for (const int sent : {4, 2}) {
        VirtualClock clock;
        DripPort port(clock, sent);
        ScriptedPrompts prompts;
        SerialSettings settings;
        SerialLink link(port, clock, prompts, settings);
        link.setRecoveryEnabled(false);
        const qint64 start = clock.nowMs();
        EXPECT_EQ(link.read(4, nullptr), sent == 4 ? LinkStatus::Ok : LinkStatus::Failed);
        EXPECT_EQ(clock.nowMs() - start, sent * 6000 + (sent == 4 ? 0 : SerialLink::replyBoundMs));
    }
}

TEST(BoundedReads, StatusQueryConsumesExactlyItsReply)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    Controller c(f.link);
    std::array<int, StatusBlock::count> numbers{};
    EXPECT_EQ(c.queryStatus(&numbers), LinkStatus::Ok);
    EXPECT_EQ(f.port.bytesAvailable(), 0);
    Position p{1, 1, 1};
    EXPECT_EQ(c.queryPosition(&p), LinkStatus::Ok);
    EXPECT_EQ(p, (Position{0, 0, 0}));
}

TEST(LongOperationWait, EndsWithTheCompletionByteAfterTheTravelTime)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    Controller c(f.link);
    // 1000 µm at the power-up velocity of 1000 µm/s: one second of travel.
    bool busy = false;
    const qint64 start = f.clock.nowMs();
    EXPECT_EQ(c.move(Position{25000, 0, -12500}, busy), LinkStatus::Ok);
    EXPECT_FALSE(busy);
    EXPECT_GE(f.clock.nowMs() - start, 1000);
    EXPECT_EQ(f.port.written, Commands::move(Position{25000, 0, -12500}));
    Position p;
    EXPECT_EQ(c.queryPosition(&p), LinkStatus::Ok);
    EXPECT_EQ(p, (Position{25000, 0, -12500}));
}

TEST(LongOperationWait, StopClearsTheFlagAndTheNextQueryDiscardsTheLateByte)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    Controller c(f.link);
    bool busy = false;
    int pumps = 0;
    f.link.setMessagePump([&] {
        // Stop pressed while the move runs: interrupt, flag cleared.
        f.port.waitForData(200);
        if (++pumps == 3) {
            c.interrupt();
            busy = false;
        }
        return true;
    });
    const qint64 start = f.clock.nowMs();
    EXPECT_EQ(c.move(Position{250000, 0, 0}, busy), LinkStatus::Ok);
    EXPECT_FALSE(busy);
    EXPECT_LT(f.clock.nowMs() - start, 1000);
    f.clock.sleepMs(100);
    Position p;
    EXPECT_EQ(c.queryPosition(&p), LinkStatus::Ok);
    EXPECT_GT(p.x, 0);
    EXPECT_LT(p.x, 250000);
    EXPECT_EQ(p.y, 0);
}

TEST(LongOperationWait, QuitRequestEndsTheWait)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    bool busy = false;
    f.link.setMessagePump([] { return false; });
    EXPECT_EQ(Controller(f.link).move(Position{250000, 0, 0}, busy), LinkStatus::Quit);
    EXPECT_FALSE(busy);
}

TEST(LongOperationWait, LimitGivenByTheCallerEndsTheWait)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    bool busy = false;
    const qint64 start = f.clock.nowMs();
    EXPECT_EQ(Controller(f.link).move(Position{250000, 0, 0}, busy, 2000), LinkStatus::TimedOut);
    EXPECT_EQ(f.clock.nowMs() - start, 2000);
    EXPECT_FALSE(busy);
}

TEST(LongOperationWait, VanishedDeviceLeadsToTheRecoveryPrompt)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    f.port.vanishAt(f.clock.nowMs() + 500);
    bool busy = false;
    EXPECT_EQ(Controller(f.link).move(Position{250000, 0, 0}, busy), LinkStatus::Failed);
    EXPECT_FALSE(busy);
    EXPECT_EQ(f.prompts.shown.last().text, SerialLink::noReplyText);
    EXPECT_TRUE(f.link.lastError().contains(QStringLiteral("No such device")));
}

TEST(LinkWrite, FailedWriteLeadsToTheRecoveryPrompt)
{
    LinkFixture f;
    ASSERT_TRUE(f.open());
    f.port.vanishAt(f.clock.nowMs());
    EXPECT_EQ(Controller(f.link).setVelocity(1000), LinkStatus::Failed);
    EXPECT_EQ(f.prompts.shown.last().text, SerialLink::noReplyText);
}

} // namespace
