// qx410ctl serve as a user runs it: the built executable on qx410-sim's
// pseudo-terminal, talked to through a local socket.

#include "ServerRig.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(ServeProcess, AnswersOnItsSocketAndEndsCleanlyOnSigterm)
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
    serve.start(QStringLiteral(QX410CTL_EXE), {QStringLiteral("--port"), device, QStringLiteral("--json"),
                                               QStringLiteral("serve")});
    ASSERT_TRUE(serve.waitForReadyRead(10000)) << serve.readAllStandardError().constData();
    const QString path =
        QJsonDocument::fromJson(serve.readLine()).object().value(QStringLiteral("socket")).toString();
    EXPECT_TRUE(path.startsWith(runtime.path() + QStringLiteral("/qx410/"))) << qPrintable(path);

    RpcClient client;
    ASSERT_TRUE(client.connectTo(path));
    client.call("position");
    ASSERT_TRUE(client.socket.waitForReadyRead(10000));
    EXPECT_EQ(resultOf(QJsonDocument::fromJson(client.socket.readLine()).object()).value(QStringLiteral("position")),
              (QJsonObject{{QStringLiteral("x"), 0}, {QStringLiteral("y"), 0}, {QStringLiteral("z"), 0}}));

    ::kill(static_cast<pid_t>(serve.processId()), SIGTERM);
    ASSERT_TRUE(serve.waitForFinished(10000));
    EXPECT_EQ(serve.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(serve.exitCode(), 0) << serve.readAllStandardError().constData();
    EXPECT_FALSE(QFile::exists(path));
    sim.terminate();
    sim.waitForFinished(5000);
}

} // namespace
