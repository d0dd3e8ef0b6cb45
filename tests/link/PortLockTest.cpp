#include "PortLock.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(PortLock, LockFileNames)
{
    EXPECT_EQ(PortLock::lockFileName(QStringLiteral("/dev/ttyS0")), QStringLiteral("LCK..ttyS0"));
    EXPECT_EQ(PortLock::lockFileName(QStringLiteral("/dev/pts/3")), QStringLiteral("LCK..pts_3"));
    EXPECT_EQ(PortLock::lockFileName(QStringLiteral("/dev/serial/by-id/usb-x")), QStringLiteral("LCK..serial_by-id_usb-x"));
}

TEST(PortLock, ProcessIdIsTheFirstLineOfTheLockFile)
{
    const struct
    {
        const char* text;
        qint64 pid;
    } cases[] = {
        {"1234\nqx410\nhost\n", 1234}, {"      4321\n", 4321}, {"77", 77},
        {"", 0},                       {"qx410\n1234\n", 0},    {"-5\n", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortLock::pidFromLockText(QByteArray(c.text)), c.pid) << c.text;
}

TEST(PortLock, HolderIsALiveProcessOtherThanThisOne)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(other.waitForStarted());
    const auto lockBy = [&](qint64 pid) {
        QFile lock(folder.filePath(QStringLiteral("LCK..pts_9")));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(QByteArray::number(pid) + "\nsomething\nhost\n");
    };
    const QStringList folders{QStringLiteral("/nonexistent"), folder.path()};

    EXPECT_EQ(PortLock::holder(QStringLiteral("/dev/pts/9"), folders), 0);
    lockBy(other.processId());
    EXPECT_EQ(PortLock::holder(QStringLiteral("/dev/pts/9"), folders), other.processId());
    lockBy(QCoreApplication::applicationPid());
    EXPECT_EQ(PortLock::holder(QStringLiteral("/dev/pts/9"), folders), 0);
    other.kill();
    other.waitForFinished();
    lockBy(other.processId());
    EXPECT_EQ(PortLock::holder(QStringLiteral("/dev/pts/9"), folders), 0);
}

TEST(PortLock, LockedOrBusyIsInUseOtherFailuresKeepTheirReason)
{
    const QString inUse = QStringLiteral("The port is in use by another program");
    const struct
    {
        const char* systemError;
        qint64 holder;
        QString reason;
    } cases[] = {
        {"Permission error while locking the device", 1234, inUse + " (process 1234)."},
        {"Permission error while locking the device", 0, inUse + "."},
        {"Device or resource busy", 0, inUse + "."},
        {"Permission denied", 4321, inUse + " (process 4321)."},
        {"Permission denied", 0, "Permission denied"},
        {"No such file or directory", 1234, "No such file or directory"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PortLock::openFailureReason(QString::fromLatin1(c.systemError), c.holder), c.reason) << c.systemError;
}

} // namespace
