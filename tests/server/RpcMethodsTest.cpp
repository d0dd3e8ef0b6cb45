// The methods against the simulated controller: micrometres with fractions,
// the position, moves, and what other clients get while a move runs.

#include "RpcMethods.h"
#include "ServerRig.h"

#include <QFile>
#include <QJsonArray>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QJsonObject um(double x, double y, double z)
{
    return { { QStringLiteral("x"), x }, { QStringLiteral("y"), y }, { QStringLiteral("z"), z } };
}

QJsonObject positionOf(const QJsonObject& reply)
{
    return resultOf(reply).value(QStringLiteral("position")).toObject();
}

struct Conversion {
    double microns;
    bool fits;
    qint32 microsteps;
};

class Microsteps : public ::testing::TestWithParam<Conversion> { };

TEST_P(Microsteps, RoundToTheNearestStepWithinThirtyTwoBits)
{
    qint32 steps = 0;
    QString why;
    EXPECT_EQ(RpcMethods::toMicrosteps(GetParam().microns, 'X', &steps, &why), GetParam().fits);
    if (GetParam().fits)
        EXPECT_EQ(steps, GetParam().microsteps);
    else
        EXPECT_TRUE(why.startsWith(QStringLiteral("X = "))) << qPrintable(why);
}

INSTANTIATE_TEST_SUITE_P(Values, Microsteps,
    ::testing::Values(Conversion { 1.0, true, 25 }, Conversion { 10.5, true, 263 }, Conversion { 0.02, true, 1 },
        Conversion { -0.02, true, -1 }, Conversion { -3.02, true, -76 }, Conversion { 0.019, true, 0 },
        Conversion { 85899345.88, true, 2147483647 }, Conversion { -85899345.92, true, -2147483647 - 1 },
        Conversion { 85899345.9, false, 0 }, Conversion { std::nan(""), false, 0 },
        Conversion { std::numeric_limits<double>::infinity(), false, 0 }));

TEST(RpcMethods, HelloNamesProgramAndProtocol)
{
    ServerRig rig;
    auto client = rig.client();
    EXPECT_EQ(resultOf(client->request("hello")),
        (QJsonObject { { QStringLiteral("program"), QStringLiteral("qx410ctl") },
            { QStringLiteral("version"), QStringLiteral("test") }, { QStringLiteral("protocol"), 1 } }));
}

TEST(RpcMethods, MoveTakesFractionsAndNegativesAndRelativeMovesAddUp)
{
    ServerRig rig;
    auto client = rig.client();
    EXPECT_EQ(positionOf(client->request("move", um(10.5, -3.02, 0.02))), um(10.52, -3.04, 0.04));
    EXPECT_EQ(rig.port.controllerAt(), (Position { 263, -76, 1 }));
    EXPECT_EQ(
        positionOf(client->request("move", { { QStringLiteral("x"), -1 }, { QStringLiteral("relative"), true } })),
        um(9.52, -3.04, 0.04));
    EXPECT_EQ(positionOf(client->request("position")), um(9.52, -3.04, 0.04));
}

TEST(RpcMethods, SubscribersHearBusyPositionAndIdleOfAMove)
{
    ServerRig rig;
    auto watcher = rig.client();
    auto mover = rig.client();
    EXPECT_EQ(resultOf(watcher->request("subscribe")).value(QStringLiteral("events")), true);
    mover->request("move", um(4, 0, 0));
    QStringList events;
    for (int i = 0; i < 3; ++i)
        events << watcher->next().value(QStringLiteral("params")).toObject().value(QStringLiteral("event")).toString();
    EXPECT_EQ(events, (QStringList { QStringLiteral("busy"), QStringLiteral("position"), QStringLiteral("idle") }));
}

// While A's move runs, B asks for the position (no wire traffic), a move
// (busy at once) and a stop (through at once).
TEST(RpcMethods, DuringAMoveOthersGetTheLastPositionBusyAndStop)
{
    ServerRig rig;
    auto mover = rig.client();
    auto other = rig.client();
    other->request("subscribe");
    QList<QJsonObject> replies;
    QByteArray writtenDuring;
    QObject::connect(&other->socket, &QLocalSocket::readyRead, [&] {
        while (other->socket.canReadLine()) {
            const QJsonObject m = QJsonDocument::fromJson(other->socket.readLine()).object();
            const QString event
                = m.value(QStringLiteral("params")).toObject().value(QStringLiteral("event")).toString();
            if (event == QLatin1String("busy")) {
                rig.port.takeWritten();
                other->call("position", {}, 10);
                other->call("move", um(1, 1, 1), 11);
            } else if (m.contains(QStringLiteral("id"))) {
                replies << m;
                if (replies.size() == 2) {
                    writtenDuring = rig.port.takeWritten();
                    other->call("stop", {}, 12);
                }
            }
        }
    });
    // 10 mm at 1000 um/s: 10 s of the controller's time, unless stopped.
    const QJsonObject moved = mover->request("move", um(10000, 0, 0));
    ASSERT_TRUE(pumpUntil([&] { return replies.size() == 3; }));
    EXPECT_EQ(positionOf(replies[0]), um(0, 0, 0));
    EXPECT_EQ(errorCode(replies[1]), 1);
    EXPECT_TRUE(writtenDuring.isEmpty()) << writtenDuring.constData();
    EXPECT_TRUE(replies[2].contains(QStringLiteral("result")));
    const double reached = positionOf(moved).value(QStringLiteral("x")).toDouble();
    EXPECT_GT(reached, 0);
    EXPECT_LT(reached, 10000);
}

TEST(RpcMethods, VelocityAndResolutionKeepTheHighResolutionLimit)
{
    ServerRig rig;
    auto client = rig.client();
    EXPECT_EQ(resultOf(client->request("velocity", { { QStringLiteral("velocity"), 1310 } }))
                  .value(QStringLiteral("velocity")),
        1310);
    EXPECT_EQ(resultOf(client->request("resolution", { { QStringLiteral("resolution"), QStringLiteral("high") } })),
        (QJsonObject { { QStringLiteral("resolution"), QStringLiteral("high") } }));
    EXPECT_EQ(rig.port.takeWritten().right(11), QByteArray("56 1E 85 0D"));
    EXPECT_EQ(errorCode(client->request("velocity", { { QStringLiteral("velocity"), 1311 } })), 3);
    EXPECT_EQ(resultOf(client->request("velocity")).value(QStringLiteral("velocity")), 1310);
}

TEST(RpcMethods, ASilentControllerIsAControllerErrorAndALostEvent)
{
    qx410sim::Faults faults;
    faults.silent = true;
    faults.afterCommands = 1;
    ServerRig rig({}, faults);
    auto client = rig.client();
    client->request("subscribe");
    EXPECT_EQ(positionOf(client->request("position")), um(0, 0, 0));
    client->call("position");
    // The event goes out while the request is carried out, before its reply.
    EXPECT_EQ(client->next().value(QStringLiteral("params")).toObject().value(QStringLiteral("event")),
        QStringLiteral("lost"));
    const QJsonObject failed = client->next();
    EXPECT_EQ(errorCode(failed), 5);
    EXPECT_EQ(failed.value(QStringLiteral("error"))
                  .toObject()
                  .value(QStringLiteral("data"))
                  .toObject()
                  .value(QStringLiteral("kind")),
        QStringLiteral("controller"));
    EXPECT_EQ(resultOf(client->request("hello")).value(QStringLiteral("protocol")).toInt(), 1);
}

} // namespace

namespace {

struct RunCase {
    const char* lines;
    const char* pause;
    bool halted;
    double x;
};

class RpcRun : public ::testing::TestWithParam<RunCase> { };

TEST_P(RpcRun, RunsACommandFileWithThePauseAnswerAsked)
{
    ServerRig rig;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("path.dat"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(GetParam().lines);
    out.close();
    auto client = rig.client();
    const QJsonObject r = resultOf(client->request(
        "run", { { QStringLiteral("file"), file }, { QStringLiteral("pause"), QLatin1String(GetParam().pause) } }));
    EXPECT_EQ(r.value(QStringLiteral("halted")).toBool(), GetParam().halted);
    EXPECT_EQ(r.value(QStringLiteral("position")).toObject().value(QStringLiteral("x")).toDouble(), GetParam().x);
}

INSTANTIATE_TEST_SUITE_P(Files, RpcRun,
    ::testing::Values(RunCase { "Move, 10, 0, 0\r\nMove, 20, 0, 0\r\n", "halt", false, 20 },
        RunCase { "Move, 10, 0, 0\r\nPause\r\nMove, 20, 0, 0\r\n", "halt", true, 10 },
        RunCase { "Move, 10, 0, 0\r\nPause\r\nMove, 20, 0, 0\r\n", "continue", false, 20 }));

TEST(RpcPrograms, DownloadListUploadAndExecuteAProgram)
{
    ServerRig rig;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.dat"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("Move, 30, 0, 0\r\nMove, 40, -5, 0\r\n");
    out.close();
    auto client = rig.client();
    const QJsonObject three { { QStringLiteral("program"), 3 } };
    EXPECT_EQ(
        resultOf(client->request("download", { { QStringLiteral("file"), file }, { QStringLiteral("program"), 3 } }))
            .value(QStringLiteral("steps")),
        2);
    EXPECT_EQ(resultOf(client->request("programs")).value(QStringLiteral("programs")),
        QJsonArray({ 0, 0, 2, 0, 0, 0, 0, 0, 0, 0 }));
    const QString copy = dir.filePath(QStringLiteral("copy.dat"));
    EXPECT_EQ(
        resultOf(client->request("upload", { { QStringLiteral("file"), copy }, { QStringLiteral("program"), 3 } }))
            .value(QStringLiteral("steps")),
        2);
    EXPECT_TRUE(QFile::exists(copy));
    EXPECT_EQ(positionOf(client->request("execute", three)), um(40, -5, 0));
    EXPECT_EQ(errorCode(client->request("execute", { { QStringLiteral("program"), 4 } })), 3);
}

} // namespace
