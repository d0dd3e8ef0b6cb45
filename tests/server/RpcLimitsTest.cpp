// The travel limits through the server: shown, changed one axis at a time,
// saved by the owner and announced; targets outside them refused with the
// travel error before anything is sent.

#include "ServerRig.h"
#include "TempFiles.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

QJsonObject axis(const QJsonValue& lower, const QJsonValue& upper)
{
    return { { QStringLiteral("lower"), lower }, { QStringLiteral("upper"), upper } };
}

QString messageOf(const QJsonObject& reply)
{
    return reply.value(QStringLiteral("error")).toObject().value(QStringLiteral("message")).toString();
}

// The rig with a Z floor of -5000 µm.
struct LimitedRig : ServerRig {
    LimitedRig()
    {
        client = ServerRig::client();
        client->request("limits",
            { { QStringLiteral("axis"), QStringLiteral("z") }, { QStringLiteral("lower"), -5000 },
                { QStringLiteral("upper"), QJsonValue() } });
    }
    QString write(const char* name, const QByteArray& text) { return TempFiles::write(files, name, text); }

    QTemporaryDir files;
    std::unique_ptr<RpcClient> client;
};

TEST(RpcLimits, ChangedOneAxisAtATimeSavedAndAnnounced)
{
    ServerRig rig;
    auto watcher = rig.client();
    auto client = rig.client();
    watcher->request("subscribe");
    const QJsonObject none { { QStringLiteral("x"), axis(QJsonValue(), QJsonValue()) },
        { QStringLiteral("y"), axis(QJsonValue(), QJsonValue()) },
        { QStringLiteral("z"), axis(QJsonValue(), QJsonValue()) } };
    EXPECT_EQ(resultOf(client->request("limits")).value(QStringLiteral("limits")).toObject(), none);

    QJsonObject set = none;
    set.insert(QStringLiteral("x"), axis(-12.52, 12.52)); // to the step, halves away from zero
    EXPECT_EQ(resultOf(client->request("limits",
                           { { QStringLiteral("axis"), QStringLiteral("X") }, { QStringLiteral("lower"), -12.5 },
                               { QStringLiteral("upper"), 12.51 } }))
                  .value(QStringLiteral("limits"))
                  .toObject(),
        set);
    const QJsonObject event = watcher->next().value(QStringLiteral("params")).toObject();
    EXPECT_EQ(event.value(QStringLiteral("event")).toString(), QStringLiteral("limits"));
    EXPECT_EQ(event.value(QStringLiteral("limits")).toObject(), set);
    EXPECT_TRUE(TempFiles::read(rig.dir.filePath(QStringLiteral("Qx410.limits"))).contains("X -12.52 12.52\n"));
}

struct BadLimits {
    const char* name;
    QJsonObject params;
    int code;
};

void PrintTo(const BadLimits& c, std::ostream* os) { *os << c.name; }

class RpcBadLimits : public ::testing::TestWithParam<BadLimits> { };

TEST_P(RpcBadLimits, ChangeNothing)
{
    LimitedRig rig;
    EXPECT_EQ(errorCode(rig.client->request("limits", GetParam().params)), GetParam().code);
    EXPECT_EQ(rig.backend.travelLimits().range(2).lower, -5000 * 25);
    EXPECT_FALSE(rig.backend.travelLimits().range(0).lower.has_value());
}

INSTANTIATE_TEST_SUITE_P(Params, RpcBadLimits,
    ::testing::Values(
        BadLimits { "lowerAboveUpper",
            { { QStringLiteral("axis"), QStringLiteral("x") }, { QStringLiteral("lower"), 10 },
                { QStringLiteral("upper"), -10 } },
            3 },
        BadLimits { "beyondTheRange",
            { { QStringLiteral("axis"), QStringLiteral("x") }, { QStringLiteral("lower"), 1e12 },
                { QStringLiteral("upper"), QJsonValue() } },
            2 },
        BadLimits { "noSuchAxis",
            { { QStringLiteral("axis"), QStringLiteral("w") }, { QStringLiteral("lower"), 1 },
                { QStringLiteral("upper"), 2 } },
            -32602 },
        BadLimits { "upperMissing", { { QStringLiteral("axis"), QStringLiteral("x") }, { QStringLiteral("lower"), 1 } },
            -32602 },
        BadLimits { "notANumber",
            { { QStringLiteral("axis"), QStringLiteral("x") }, { QStringLiteral("lower"), QStringLiteral("1") },
                { QStringLiteral("upper"), 2 } },
            -32602 }));

TEST(RpcLimits, MoveRunAndDownloadOutsideThemAreTravelErrorsWithNothingSent)
{
    LimitedRig rig;
    const QJsonObject move = rig.client->request("move",
        { { QStringLiteral("x"), 0 }, { QStringLiteral("y"), 0 }, { QStringLiteral("z"), -6000 } });
    EXPECT_EQ(errorCode(move), 8);
    EXPECT_EQ(move.value(QStringLiteral("error")).toObject().value(QStringLiteral("data")).toObject()
                  .value(QStringLiteral("kind")).toString(),
        QStringLiteral("travel"));
    EXPECT_EQ(messageOf(move), QStringLiteral("Z = -6000 µm lies below the Z floor of -5000 µm. Nothing was sent."));

    const QString deep = rig.write("deep.dat", "Move,10,0,0\r\nMove,0,0,-6000\r\n");
    const QJsonObject run = rig.client->request("run", { { QStringLiteral("file"), deep } });
    EXPECT_EQ(errorCode(run), 8);
    EXPECT_EQ(messageOf(run), QStringLiteral("Line 2 moves to Z = -6000 µm, below the Z floor of -5000 µm. It was not "
                                             "sent and execution has been halted."));
    EXPECT_EQ(rig.port.controllerAt(), (Position { 250, 0, 0 }));

    const QJsonObject download
        = rig.client->request("download", { { QStringLiteral("file"), deep }, { QStringLiteral("program"), 1 } });
    EXPECT_EQ(errorCode(download), 8);
    EXPECT_EQ(resultOf(rig.client->request("programs")).value(QStringLiteral("programs")).toArray().at(0).toInt(), 0);
}

TEST(RpcLimits, ARelativeProgramRunNeedsTheClientsConfirmation)
{
    LimitedRig rig;
    rig.client->request("download",
        { { QStringLiteral("file"), rig.write("p.dat", "Move,10,0,0\r\n") }, { QStringLiteral("program"), 2 } });
    rig.port.takeWritten();
    const QJsonObject relative { { QStringLiteral("program"), 2 }, { QStringLiteral("relative"), true } };
    EXPECT_EQ(errorCode(rig.client->request("execute", relative)), 8);
    EXPECT_TRUE(rig.port.takeWritten().isEmpty());
    QJsonObject confirmed = relative;
    confirmed.insert(QStringLiteral("confirm"), true);
    EXPECT_EQ(resultOf(rig.client->request("execute", confirmed)).value(QStringLiteral("position")).toObject()
                  .value(QStringLiteral("x")).toDouble(),
        10);
}

} // namespace
