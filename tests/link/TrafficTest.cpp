#include "Commands.h"
#include "Controller.h"
#include "Printing.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "TraceFile.h"
#include "TracingPortDevice.h"
#include "TrafficLog.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

using D = TrafficLine::Direction;

struct Recorder : TrafficObserver
{
    void exchanged(const TrafficLine& line) override { lines.append(line); }
    QList<TrafficLine> lines;
};

struct Rig
{
    Rig()
        : port(controller, clock)
        , traced(port, clock)
        , link(traced, clock, prompts, settings)
    {
        settings.portName = QStringLiteral("/dev/sim");
        link.setRecoveryEnabled(false);
        EXPECT_EQ(link.open(), SerialLink::OpenResult::Opened);
    }

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    TracingPortDevice traced;
    ScriptedPrompts prompts;
    SerialSettings settings;
    SerialLink link;
    Recorder recorder;
};

TEST(TracingPortDevice, AMoveAndThePositionQueriesShowEveryByteWithTheCommandName)
{
    Rig rig;
    rig.traced.addObserver(&rig.recorder);
    Controller controller(rig.link);
    bool busy = true;
    ASSERT_EQ(controller.move(Position{-25, 0, 25000}, busy), LinkStatus::Ok);
    Position at;
    ASSERT_EQ(controller.queryPosition(&at), LinkStatus::Ok);

    const QList<TrafficLine>& l = rig.recorder.lines;
    ASSERT_EQ(l.size(), 4);
    EXPECT_EQ(l[0].direction, D::Sent);
    EXPECT_EQ(l[0].bytes, hex("6DE7FFFFFF00000000A8610000" "0D"));
    EXPECT_EQ(l[0].name, QStringLiteral("move command"));
    EXPECT_EQ(l[1].direction, D::Received);
    EXPECT_EQ(l[1].bytes.size(), 1);
    EXPECT_EQ(l[1].name, QStringLiteral("move command"));
    EXPECT_EQ(l[2].bytes, hex("630D"));
    EXPECT_EQ(l[2].name, QStringLiteral("position query"));
    EXPECT_EQ(l[3].direction, D::Received);
    EXPECT_EQ(l[3].bytes, hex("E7FFFFFF00000000A8610000" "0D"));
    EXPECT_EQ(l[3].timeMs, rig.clock.nowMs());
    EXPECT_EQ(at, (Position{-25, 0, 25000}));
}

TEST(TracingPortDevice, TheExchangeIsTheSameWithAndWithoutObservers)
{
    auto exchange = [](bool observed) {
        Rig rig;
        if (observed)
            rig.traced.addObserver(&rig.recorder);
        Controller controller(rig.link);
        bool busy = true;
        controller.move(Position{100, 200, 300}, busy);
        controller.setVelocity(1000);
        Position at;
        controller.queryPosition(&at);
        controller.refreshDisplay();
        return std::make_pair(rig.port.written, at);
    };
    EXPECT_EQ(exchange(true), exchange(false));
}

// Hands over what the controller sent a piece at a time, and only when
// waited for, as a real port at 9600 baud does (64 bytes in about 64 ms).
class LinePacedPort : public PortDevice
{
public:
    LinePacedPort(SimPort& inner, VirtualClock& clock)
        : m_inner(inner)
        , m_clock(clock)
    {
    }
    bool open(const QString& device) override { return m_inner.open(device); }
    bool applySettings(const LineSettings& settings) override { return m_inner.applySettings(settings); }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    bool write(const QByteArray& bytes, int timeoutMs) override { return m_inner.write(bytes, timeoutMs); }
    qint64 bytesAvailable() override
    {
        // A reader that never waits would spin for ever on the virtual clock:
        // let time pass so that its bound ends the spin.
        if (++m_unwaited % 1000 == 0)
            m_clock.sleepMs(1);
        return m_arrived.size();
    }
    QByteArray read(qint64 maxBytes) override
    {
        const QByteArray out = m_arrived.left(maxBytes);
        m_arrived.remove(0, out.size());
        return out;
    }
    bool waitForData(int timeoutMs) override
    {
        m_unwaited = 0;
        m_line += m_inner.read(m_inner.bytesAvailable());
        if (m_line.isEmpty())
            return m_inner.waitForData(timeoutMs);
        m_arrived += m_line.left(64);
        m_clock.sleepMs(static_cast<int>(std::min<qsizetype>(64, m_line.size())));
        m_line.remove(0, 64);
        return true;
    }
    void clear(bool transmitToo) override
    {
        m_line.clear();
        m_arrived.clear();
        m_inner.clear(transmitToo);
    }
    bool failed() const override { return m_inner.failed(); }
    QString errorText() const override { return m_inner.errorText(); }

private:
    SimPort& m_inner;
    VirtualClock& m_clock;
    QByteArray m_line;
    QByteArray m_arrived;
    int m_unwaited = 0;
};

// A long answer read in pieces while traced: the bytes already taken from the
// port are not new data, so the wait for the rest still waits on the port,
// and the read ends when the last byte arrives, as it does untraced.
TEST(TracingPortDevice, ALongAnswerTakesAsLongTracedAndEveryByteIsShown)
{
    auto upload = [](bool observed) {
        qx410sim::SimController controller;
        VirtualClock clock;
        SimPort port(controller, clock);
        LinePacedPort paced(port, clock);
        TracingPortDevice traced(paced, clock);
        ScriptedPrompts prompts;
        SerialSettings settings;
        SerialLink link(traced, clock, prompts, settings);
        link.setRecoveryEnabled(false);
        link.open();
        Recorder recorder;
        link.write(Commands::storeProgram(4, 300));
        for (int i = 0; i < 300; ++i)
            link.write(hex("E803" "19000000" "32000000" "4B000000"));
        link.inputPurge();
        if (observed)
            traced.addObserver(&recorder);
        const qint64 start = clock.nowMs();
        link.write(Commands::programInfo(4));
        QByteArray count, steps;
        EXPECT_EQ(link.read(2, &count), LinkStatus::Ok);
        EXPECT_EQ(link.read(16 * 300, &steps), LinkStatus::Ok) << qPrintable(link.lastError());
        EXPECT_EQ(link.waitForCr(), LinkStatus::Ok);
        qsizetype received = 0;
        for (const TrafficLine& line : recorder.lines)
            received += line.direction == D::Received ? line.bytes.size() : 0;
        return std::make_pair(clock.nowMs() - start, received);
    };
    const auto traced = upload(true);
    EXPECT_EQ(traced.first, upload(false).first);
    EXPECT_LT(traced.first, 10000);
    EXPECT_EQ(traced.second, 2 + 16 * 300 + 1);
}

TEST(TracingPortDevice, PurgedBytesAreShownAsDiscarded)
{
    Rig rig;
    rig.traced.addObserver(&rig.recorder);
    rig.port.inject(hex("0D0D"));
    rig.link.inputPurge();
    ASSERT_EQ(rig.recorder.lines.size(), 1);
    EXPECT_EQ(rig.recorder.lines[0].direction, D::Discarded);
    EXPECT_EQ(rig.recorder.lines[0].bytes, hex("0D0D"));
    EXPECT_EQ(rig.traced.bytesAvailable(), 0);

    // Nothing to throw away, nothing shown.
    rig.link.inputPurge();
    EXPECT_EQ(rig.recorder.lines.size(), 1);
}

TEST(TracingPortDevice, BytesTakenWhileObservedAreStillReadAfterTheWindowCloses)
{
    Rig rig;
    rig.traced.addObserver(&rig.recorder);
    rig.port.inject(hex("414243"));
    EXPECT_EQ(rig.traced.read(1), hex("41"));
    rig.traced.removeObserver(&rig.recorder);
    EXPECT_EQ(rig.traced.bytesAvailable(), 2);
    EXPECT_EQ(rig.traced.read(5), hex("4243"));
    EXPECT_EQ(rig.recorder.lines.size(), 1);
}

TEST(TracingPortDevice, StepsAfterAStoreProgramHeaderAreProgramSteps)
{
    int expected = 0;
    EXPECT_EQ(TracingPortDevice::nameSent(Commands::storeProgram(3, 2), expected), QStringLiteral("store-program command"));
    EXPECT_EQ(expected, 2);
    // A step that happens to start with 'm' is still a step.
    const QByteArray step = hex("6D00" "0000000000000000" "00000000");
    EXPECT_EQ(TracingPortDevice::nameSent(step, expected), QStringLiteral("program step"));
    EXPECT_EQ(TracingPortDevice::nameSent(step, expected), QStringLiteral("program step"));
    EXPECT_EQ(TracingPortDevice::nameSent(step, expected), QStringLiteral("move command"));
    EXPECT_EQ(TracingPortDevice::nameSent(Commands::interrupt(), expected), QStringLiteral("interrupt command"));
    EXPECT_EQ(TracingPortDevice::nameSent(hex("7A0D"), expected), QStringLiteral("unknown"));
}

TEST(TrafficLog, FormatsTimeDirectionHexAndName)
{
    TrafficLine line;
    line.timeMs = QDateTime(QDate(2026, 12, 7), QTime(14, 2, 31, 207)).toMSecsSinceEpoch();
    line.direction = D::Received;
    line.bytes = hex("E7FFFFFF0D");
    line.name = QStringLiteral("position query");
    EXPECT_EQ(TrafficLog::format(line), QStringLiteral("14:02:31.207\treceived\tE7 FF FF FF 0D\tposition query"));
    EXPECT_EQ(TrafficLog::directionText(D::Sent), QStringLiteral("sent"));
    EXPECT_EQ(TrafficLog::directionText(D::Discarded), QStringLiteral("discarded"));
}

TEST(TrafficLog, KeepsOnlyTheNewestLines)
{
    TrafficLog log(3);
    for (int i = 0; i < 5; ++i) {
        TrafficLine line;
        line.bytes = QByteArray(1, static_cast<char>(i));
        log.exchanged(line);
    }
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log.at(0).bytes, hex("02"));
    EXPECT_EQ(log.at(2).bytes, hex("04"));
    EXPECT_EQ(log.text().count(QLatin1Char('\n')), 3);
    EXPECT_EQ(TrafficLog().capacity(), 10000);
    log.clear();
    EXPECT_EQ(log.size(), 0);
}

TEST(TraceFile, WritesTheSameLinesAsTheLog)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    Rig rig;
    {
        TraceFile trace(path);
        ASSERT_TRUE(trace.isOpen());
        rig.traced.addObserver(&trace);
        rig.traced.addObserver(&rig.recorder);
        Controller controller(rig.link);
        Position at;
        controller.queryPosition(&at);
        rig.traced.removeObserver(&trace);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), rig.recorder.lines.size());
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], TrafficLog::format(rig.recorder.lines[i]));
    EXPECT_FALSE(TraceFile(dir.filePath(QStringLiteral("missing/trace.txt"))).isOpen());
}

// A command that fails before the port opens leaves an earlier trace alone
// and no new file behind; the opening empties the file.
TEST(TraceFile, IsEmptiedOnlyWhenThePortOpens)
{
    QTemporaryDir dir;
    const QString earlier = dir.filePath(QStringLiteral("earlier.txt"));
    const QString fresh = dir.filePath(QStringLiteral("fresh.txt"));
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("kept\n");
    file.close();
    for (const bool opens : {false, true}) {
        Rig rig;
        rig.link.close();
        if (!opens)
            rig.port.refuseOpen(QStringLiteral("No such file or directory"));
        for (const QString& path : {earlier, fresh}) {
            TraceFile trace(path);
            ASSERT_TRUE(trace.isOpen());
            rig.traced.addObserver(&trace);
            EXPECT_EQ(rig.link.open() == SerialLink::OpenResult::Opened, opens);
            rig.link.close();
            rig.traced.removeObserver(&trace);
        }
        EXPECT_EQ(QFileInfo(earlier).size(), opens ? 0 : 5);
        EXPECT_EQ(QFileInfo::exists(fresh), opens);
    }
}

} // namespace
