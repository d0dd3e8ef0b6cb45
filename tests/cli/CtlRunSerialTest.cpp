// qx410ctl run as a user runs it: the built executable on the pseudo-terminal
// of qx410-sim, whose trace shows every byte that reached the controller.

#include "Commands.h"
#include "Printing.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// qx410-sim serving on a link in a temporary folder, tracing every byte.
struct TracedSim
{
    TracedSim()
    {
        sim.start(QStringLiteral(QX410_SIM_EXE),
                  {QStringLiteral("--link"), link(), QStringLiteral("--trace"), QStringLiteral("--time-scale"),
                   QStringLiteral("2")});
        // The device path on the first line says that it serves.
        while (sim.state() != QProcess::NotRunning && !sim.canReadLine())
            sim.waitForReadyRead(5000);
    }
    ~TracedSim()
    {
        if (sim.state() != QProcess::NotRunning) {
            sim.terminate();
            sim.waitForFinished(5000);
        }
    }

    QString link() const { return folder.filePath(QStringLiteral("tty")); }

    QString commandFile(const QByteArray& bytes) const
    {
        const QString path = folder.filePath(QStringLiteral("run.dat"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }

    // Ends the simulator and returns every byte the host sent, in order.
    QByteArray hostBytes()
    {
        sim.terminate();
        sim.waitForFinished(5000);
        QByteArray bytes;
        static const QRegularExpression hostLine(QStringLiteral("host> ([0-9A-F ]+)"));
        auto it = hostLine.globalMatch(QString::fromLatin1(sim.readAllStandardError()));
        while (it.hasNext())
            bytes += QByteArray::fromHex(it.next().captured(1).toLatin1());
        return bytes;
    }

    QTemporaryDir folder;
    QProcess sim;
};

TEST(CtlRunSerial, SpeedLineAndMoveThenTheVelocitySettingAgain)
{
    TracedSim sim;
    QProcess ctl;
    ctl.start(QStringLiteral(QX410CTL_EXE), {QStringLiteral("--port"), sim.link(), QStringLiteral("run"),
                                             sim.commandFile("High, 1000\r\nMove, 100, 0, 0\r\n")});
    ASSERT_TRUE(ctl.waitForFinished(20000));
    EXPECT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
    EXPECT_EQ(ctl.readAllStandardOutput(), QByteArray("100 0 0\n"));
    EXPECT_EQ(sim.hostBytes(), hex("630D" "56E8830D" "6DC409000000000000000000000D" "630D630D" "56E8030D"));
}

TEST(CtlRunSerial, SigintDuringAMoveHaltsRestoresTheVelocityAndEndsWith130)
{
    TracedSim sim;
    QProcess ctl;
    ctl.start(QStringLiteral(QX410CTL_EXE), {QStringLiteral("--port"), sim.link(), QStringLiteral("run"),
                                             sim.commandFile("Move, 20000, 0, 0\r\nMove, 0, 0, 0\r\n")});
    ctl.setReadChannel(QProcess::StandardError);
    QByteArray progress;
    while (!progress.contains("line 1/2") && ctl.waitForReadyRead(10000))
        progress += ctl.readAllStandardError();
    ASSERT_TRUE(progress.contains("line 1/2: Move 20000 0 0")) << progress.toStdString();
    QThread::msleep(300); // the move is under way
    ::kill(static_cast<pid_t>(ctl.processId()), SIGINT);
    ASSERT_TRUE(ctl.waitForFinished(20000));
    EXPECT_EQ(ctl.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ctl.exitCode(), 130);
    const QStringList reached = QString::fromLatin1(ctl.readAllStandardOutput()).split(QLatin1Char(' '));
    ASSERT_EQ(reached.size(), 3);
    EXPECT_GT(reached[0].toInt(), 0);
    EXPECT_LT(reached[0].toInt(), 20000); // stopped on the way

    // The position asked, the move, then the halt in its order, the position read back and the
    // velocity setting sent again; the second move is never sent.
    EXPECT_EQ(sim.hostBytes(), hex("630D") + Commands::move(Position{500000, 0, 0}) + hex("5601000D 650D 030D")
                                   + hex("630D630D") + hex("56E8030D"));
}

} // namespace
