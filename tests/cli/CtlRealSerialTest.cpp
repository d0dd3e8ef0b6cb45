// qx410ctl as a user runs it: the built executable talking to qx410-sim over a
// pseudo-terminal.

#include "Printing.h"

#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

Result runUnderSim(const QStringList& simOptions, const QStringList& ctlArguments)
{
    QProcess process;
    QStringList arguments = simOptions;
    arguments << QStringLiteral("--run") << QStringLiteral(QX410CTL_EXE) << ctlArguments;
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(QX410_SIM_EXE), arguments);
    Result r;
    if (!process.waitForFinished(20000))
        return r;
    r.elapsedMs = timer.elapsed();
    r.exitCode = process.exitCode();
    r.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(process.readAllStandardError());
    return r;
}

TEST(CtlRealSerial, PositionOfAFreshControllerIsZero)
{
    const Result r = runUnderSim({}, {QStringLiteral("position")});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("0 0 0\n"));
}

TEST(CtlRealSerial, SilentControllerEndsWithStatusThreeAfterSixToEightSeconds)
{
    const Result r = runUnderSim({QStringLiteral("--fault"), QStringLiteral("silent")}, {QStringLiteral("position")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_GT(r.elapsedMs, 6000);
    EXPECT_LE(r.elapsedMs, 8500); // 8 s at most for qx410ctl, plus starting both programs
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("qx410ctl: position: no answer from the controller on COM1")))
        << qPrintable(r.err);
}

} // namespace
