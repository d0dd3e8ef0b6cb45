// qx410ctl serve as a user runs it: the built executable on qx410-sim's
// pseudo-terminal, talked to through a local socket.

#include "ServerRig.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(ServeProcess, AnswersOnItsSocketCarriesQx410ctlCommandsAndEndsCleanlyOnSigterm)
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    QProcess sim;
    sim.start(QStringLiteral(QX410_SIM_EXE), {});
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();

    QProcess serve;
    serve.setProcessEnvironment(env);
    serve.start(QStringLiteral(QX410CTL_EXE),
        { QStringLiteral("--port"), device, QStringLiteral("--json"), QStringLiteral("serve") });
    ASSERT_TRUE(serve.waitForReadyRead(10000)) << serve.readAllStandardError().constData();
    const QString path = QJsonDocument::fromJson(serve.readLine()).object().value(QStringLiteral("socket")).toString();
    EXPECT_TRUE(path.startsWith(runtime.path() + QStringLiteral("/qx410/"))) << qPrintable(path);

    RpcClient client;
    ASSERT_TRUE(client.connectTo(path));
    client.call("position");
    ASSERT_TRUE(client.socket.waitForReadyRead(10000));
    EXPECT_EQ(resultOf(QJsonDocument::fromJson(client.socket.readLine()).object()).value(QStringLiteral("position")),
        (QJsonObject { { QStringLiteral("x"), 0 }, { QStringLiteral("y"), 0 }, { QStringLiteral("z"), 0 } }));

    // qx410ctl commands go through the server, with their usual output.
    struct Through {
        QStringList arguments;
        int status;
        const char* out;
        const char* err;
    };
    const Through table[] = {
        { { QStringLiteral("move"), QStringLiteral("--"), QStringLiteral("-10"), QStringLiteral("5"),
              QStringLiteral("0") },
            0, "-10 5 0\n", "" },
        { { QStringLiteral("--json"), QStringLiteral("position") }, 0, "{\"x\":-10,\"y\":5,\"z\":0}\n", "" },
        { { QStringLiteral("serve") }, 2, "", "another server already serves this device" },
        { { QStringLiteral("--no-server"), QStringLiteral("position") }, 2, "", "Cannot open serial port" },
    };
    for (const Through& row : table) {
        QProcess ctl;
        ctl.setProcessEnvironment(env);
        ctl.start(QStringLiteral(QX410CTL_EXE), QStringList { QStringLiteral("--port"), device } + row.arguments);
        ASSERT_TRUE(ctl.waitForFinished(20000));
        const QString err = QString::fromLocal8Bit(ctl.readAllStandardError());
        EXPECT_EQ(ctl.exitCode(), row.status) << qPrintable(row.arguments.join(QLatin1Char(' '))) << qPrintable(err);
        EXPECT_EQ(QString::fromLocal8Bit(ctl.readAllStandardOutput()), QLatin1String(row.out));
        EXPECT_TRUE(err.contains(QLatin1String(row.err))) << qPrintable(err);
    }

    ::kill(static_cast<pid_t>(serve.processId()), SIGTERM);
    ASSERT_TRUE(serve.waitForFinished(10000));
    EXPECT_EQ(serve.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(serve.exitCode(), 0) << serve.readAllStandardError().constData();
    EXPECT_FALSE(QFile::exists(path));
    sim.terminate();
    sim.waitForFinished(5000);
}

} // namespace
