// qx410ctl's program commands as a user runs them: the built executable on
// qx410-sim with preloaded programs, over a pseudo-terminal; and what run and
// execute leave the controller in when the operator presses Ctrl+C twice.

#include "TempFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

void startUnderSim(QProcess& sim, const QString& programs, const QStringList& ctlArguments)
{
    sim.start(QStringLiteral(QX410_SIM_EXE), QStringList{QStringLiteral("--trace"), QStringLiteral("--programs"),
                                                        programs, QStringLiteral("--run"),
                                                        QStringLiteral(QX410CTL_EXE)}
                                                 + ctlArguments);
}

// Every byte the host sent, from the simulator's trace, as spaced hex.
QByteArray hostBytes(const QByteArray& trace)
{
    QByteArrayList bytes;
    for (const QByteArray& line : trace.split('\n')) {
        const int at = line.indexOf("host> ");
        if (at >= 0)
            bytes << line.mid(at + 6).trimmed();
    }
    return bytes.join(' ');
}

TEST(CtlProgramsRealSerial, UploadOfAPreloadedProgram)
{
    QTemporaryDir dir;
    const QString program = TempFiles::write(dir, "three.dat", "Move,10,-20,3\r\nMove,0,0,0\r\nPause\r\n");
    const QString out = dir.filePath(QStringLiteral("out.dat"));
    QProcess sim;
    startUnderSim(sim, program, {QStringLiteral("upload"), QStringLiteral("1"), out});
    ASSERT_TRUE(sim.waitForFinished(20000));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_EQ(sim.readAllStandardOutput(), QByteArray("3\n"));
    EXPECT_EQ(TempFiles::read(out), QByteArray("Low,  1000\r\nMove, 10, -20, 3\r\nMove, 0, 0, 0\r\nPause  \r\n"));
}

// The pid of qx410ctl, the simulator's only child, once it has started.
qint64 ctlUnder(const QProcess& sim)
{
    const QString children = QStringLiteral("/proc/%1/task/%1/children").arg(sim.processId());
    for (int i = 0; i < 100; ++i) {
        QThread::msleep(20);
        QFile list(children);
        if (list.open(QIODevice::ReadOnly)) {
            const qint64 pid = list.readAll().trimmed().toLongLong();
            if (pid != 0)
                return pid;
        }
    }
    return 0;
}

// A second SIGINT 50 ms after the first, while the halt is being sent: the
// halt still reaches its end and the velocity setting is sent again last.
struct TwiceCase
{
    const char* name;
    const char* command;
    const char* halt; // the halt as it must reach the controller
};

void PrintTo(const TwiceCase& c, std::ostream* os)
{
    *os << c.name;
}

class CtlSignalsRealSerial : public testing::TestWithParam<TwiceCase>
{
};

TEST_P(CtlSignalsRealSerial, SigintTwiceStillEndsTheHaltAndRestoresTheVelocity)
{
    const TwiceCase& c = GetParam();
    QTemporaryDir dir;
    const QString program = TempFiles::write(dir, "long.dat", "Move,10000,0,0\r\n");
    QProcess sim;
    const QString command = QString::fromLatin1(c.command);
    startUnderSim(sim, program, {command, command == QLatin1String("run") ? program : QStringLiteral("1")});
    ASSERT_TRUE(sim.waitForStarted());
    const qint64 ctl = ctlUnder(sim);
    ASSERT_NE(ctl, 0);
    QThread::msleep(700); // the move or the run is under way
    ::kill(static_cast<pid_t>(ctl), SIGINT);
    QThread::msleep(50);
    ::kill(static_cast<pid_t>(ctl), SIGINT);
    ASSERT_TRUE(sim.waitForFinished(20000));
    const QByteArray trace = sim.readAllStandardError();
    EXPECT_EQ(sim.exitCode(), 130) << trace.constData();
    const QByteArray host = hostBytes(trace);
    EXPECT_TRUE(host.contains(c.halt)) << trace.constData();
    EXPECT_TRUE(host.endsWith("56 E8 03 0D")) << trace.constData();
}

INSTANTIATE_TEST_SUITE_P(RunAndExecute, CtlSignalsRealSerial,
                         testing::Values(TwiceCase{"Run", "run", "56 01 00 0D 65 0D 03 0D"},
                                         TwiceCase{"Execute", "execute", "56 01 00 0D 65 0D 03 0D 65 0D"}),
                         [](const testing::TestParamInfo<TwiceCase>& info) { return std::string(info.param.name); });

// SIGINT while execute waits for the end of a 10-second run: Halt, then the
// position, exit status 130.
TEST(CtlProgramsRealSerial, InterruptHaltsTheRun)
{
    QTemporaryDir dir;
    const QString program = TempFiles::write(dir, "long.dat", "Move,10000,0,0\r\n");
    QProcess sim;
    QElapsedTimer timer;
    timer.start();
    startUnderSim(sim, program, {QStringLiteral("execute"), QStringLiteral("1")});
    ASSERT_TRUE(sim.waitForStarted());
    // qx410ctl is the simulator's only child.
    const QString children = QStringLiteral("/proc/%1/task/%1/children").arg(sim.processId());
    qint64 ctl = 0;
    for (int i = 0; i < 100 && ctl == 0; ++i) {
        QThread::msleep(20);
        QFile list(children);
        if (list.open(QIODevice::ReadOnly))
            ctl = list.readAll().trimmed().toLongLong();
    }
    ASSERT_NE(ctl, 0);
    QThread::msleep(700); // the run is under way
    ::kill(static_cast<pid_t>(ctl), SIGINT);
    ASSERT_TRUE(sim.waitForFinished(20000));
    const QByteArray trace = sim.readAllStandardError();
    EXPECT_EQ(sim.exitCode(), 130) << trace.constData();
    EXPECT_LT(timer.elapsed(), 8000);
    // Each continue of the sequence reaches the controller on a real line.
    EXPECT_TRUE(hostBytes(trace).contains("6B 01 00 0D 56 01 00 0D 65 0D 03 0D 65 0D 6E 0D 63 0D")) << trace.constData();
    const QList<QByteArray> position = sim.readAllStandardOutput().trimmed().split(' ');
    ASSERT_EQ(position.size(), 3);
    EXPECT_GT(position[0].toInt(), 0);
    EXPECT_LT(position[0].toInt(), 10000);
}

} // namespace
