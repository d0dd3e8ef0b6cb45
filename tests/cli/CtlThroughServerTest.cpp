// qx410ctl's run, execute, reset and origin through qx410ctl serve: the
// built executables on qx410-sim's pseudo-terminal, with the output and exit
// statuses they have on the port itself.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// One qx410ctl command through the server: its exit status, its whole
// standard output and a part of its standard error.
struct Row {
    QStringList arguments;
    int status;
    const char* out;
    const char* err;
};

class CtlThroughServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        write("plain.dat", "Move, 10, 0, 0\r\nMove, 20, 5, 0\r\n");
        write("paused.dat", "Move, 10, 0, 0\r\nPause\r\nMove, 20, 0, 0\r\n");
        write("long.dat", "Move, 100000, 0, 0\r\n");
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        sim.start(QStringLiteral(QX410_SIM_EXE),
            { QStringLiteral("--time-scale"), QStringLiteral("20"), QStringLiteral("--programs"),
                QStringLiteral("3=") + file("plain.dat") });
        ASSERT_TRUE(sim.waitForReadyRead(5000));
        device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        serve.setProcessEnvironment(env);
        serve.setWorkingDirectory(dir.path()); // where it keeps the travel limits
        serve.start(QStringLiteral(QX410CTL_EXE), { QStringLiteral("--port"), device, QStringLiteral("serve") });
        ASSERT_TRUE(serve.waitForReadyRead(10000)) << serve.readAllStandardError().constData();
    }
    void TearDown() override
    {
        serve.terminate();
        serve.waitForFinished(10000);
        sim.terminate();
        sim.waitForFinished(5000);
    }

    QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
    void write(const char* name, const char* text)
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    void start(QProcess& ctl, const QStringList& arguments)
    {
        ctl.setProcessEnvironment(env);
        ctl.start(QStringLiteral(QX410CTL_EXE), QStringList { QStringLiteral("--port"), device } + arguments);
    }

    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    template <std::size_t N> void expectRows(const Row (&table)[N])
    {
        for (const Row& row : table) {
            QProcess ctl;
            start(ctl, row.arguments);
            ASSERT_TRUE(ctl.waitForFinished(20000));
            const QString err = QString::fromLocal8Bit(ctl.readAllStandardError());
            const QString what = row.arguments.join(QLatin1Char(' ')) + QStringLiteral(": ") + err;
            EXPECT_EQ(ctl.exitCode(), row.status) << qPrintable(what);
            EXPECT_EQ(QString::fromLocal8Bit(ctl.readAllStandardOutput()), QLatin1String(row.out)) << qPrintable(what);
            EXPECT_TRUE(err.contains(QString::fromUtf8(row.err))) << qPrintable(what);
        }
    }

    QProcess sim;
    QProcess serve;
    QString device;
};

TEST_F(CtlThroughServer, CommandsKeepTheirOutputAndExitStatuses)
{
    const Row table[] = {
        { { QStringLiteral("run"), file("plain.dat") }, 0, "20 5 0\n", "reports no line by line progress" },
        { { QStringLiteral("--json"), QStringLiteral("run"), file("plain.dat") }, 0,
            "{\"x\":20,\"y\":5,\"z\":0}\n", "" },
        { { QStringLiteral("run"), QStringLiteral("--pause"), QStringLiteral("ask"), file("plain.dat") }, 1, "",
            "--pause ask cannot be answered through the server" },
        { { QStringLiteral("run"), QStringLiteral("--pause"), QStringLiteral("halt"), file("paused.dat") }, 4,
            "10 0 0\n", "" },
        { { QStringLiteral("origin") }, 0, "", "" },
        { { QStringLiteral("position") }, 0, "0 0 0\n", "" },
        { { QStringLiteral("reset") }, 0, "", "" },
        { { QStringLiteral("execute"), QStringLiteral("3") }, 0, "20 5 0\n", "" },
        { { QStringLiteral("execute"), QStringLiteral("5") }, 1, "", "" },
        { { QStringLiteral("move"), QStringLiteral("12.5"), QStringLiteral("-0.04"), QStringLiteral("0") }, 0,
            "13 0 0\n", "" },
        { { QStringLiteral("move"), QStringLiteral("--relative"), QStringLiteral("--high"), QStringLiteral("-0.5"),
              QStringLiteral("0.02"), QStringLiteral("0") },
            0, "12.00 0.00 0.00\n", "" },
        { { QStringLiteral("move"), QStringLiteral("--relative"), QStringLiteral("85899345"), QStringLiteral("0"),
              QStringLiteral("0") },
            1, "", "outside the range" },
        // The server's high resolution prints the hundredths too.
        { { QStringLiteral("velocity"), QStringLiteral("1000"), QStringLiteral("--high") }, 0, "", "" },
        { { QStringLiteral("position") }, 0, "12.00 0.00 0.00\n", "" },
    };
    expectRows(table);
}

// The limits are the server's: set through it, saved beside it, and kept
// for the commands that go through it.
TEST_F(CtlThroughServer, TravelLimitsAreTheServers)
{
    write("deep.dat", "Move, 0, 0, -100\r\nMove, 0, 0, -6000\r\n");
    const Row table[] = {
        { { QStringLiteral("limits"), QStringLiteral("Z"), QStringLiteral("-5000"), QStringLiteral("off") }, 0,
            "X off off\nY off off\nZ -5000 off\n", "" },
        { { QStringLiteral("move"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("-6000") }, 1, "",
            "lies below the Z floor of -5000 µm" },
        { { QStringLiteral("run"), file("deep.dat") }, 4, "", "Line 2 moves to Z = -6000 µm" },
        { { QStringLiteral("execute"), QStringLiteral("3"), QStringLiteral("--relative") }, 1, "",
            "Give --yes to run it anyway." },
        { { QStringLiteral("execute"), QStringLiteral("3"), QStringLiteral("--relative"), QStringLiteral("--yes") },
            0, "30 5 -100\n", "" },
    };
    expectRows(table);
    QFile saved(file("Qx410.limits"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("Z -5000 off\n"));
}

TEST_F(CtlThroughServer, CtrlCHaltsARunThroughTheServer)
{
    QProcess ctl;
    start(ctl, { QStringLiteral("run"), file("long.dat") });
    ctl.setReadChannel(QProcess::StandardError);
    ASSERT_TRUE(ctl.waitForReadyRead(10000)); // the run is about to be sent
    QThread::msleep(300); // and has begun on the server
    ::kill(static_cast<pid_t>(ctl.processId()), SIGINT);
    ASSERT_TRUE(ctl.waitForFinished(10000));
    EXPECT_EQ(ctl.exitCode(), 130) << ctl.readAllStandardError().constData();
    EXPECT_EQ(ctl.readAllStandardOutput().split(' ').size(), 3); // where it halted
}

} // namespace
