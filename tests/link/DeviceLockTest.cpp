// Two opens of one serial device under two of its names: the second is
// refused while the first holds it, whoever runs the test (root included).

#include "QtSerialPortDevice.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

namespace {

TEST(DeviceLock, AnotherNameOfAHeldDeviceIsRefusedUntilItIsClosed)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::close(slave);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("by-id-link"));
    ASSERT_TRUE(QFile::link(QString::fromLocal8Bit(name), link));

    QtSerialPortDevice first;
    QtSerialPortDevice second;
    ASSERT_TRUE(first.open(link)) << qPrintable(first.errorText());
    EXPECT_FALSE(second.open(QString::fromLocal8Bit(name)));
    EXPECT_EQ(second.errorText(),
        QStringLiteral("The port is in use by another program (process %1).").arg(::getpid()));
    first.close();
    EXPECT_TRUE(second.open(QString::fromLocal8Bit(name))) << qPrintable(second.errorText());
    second.close();
    ::close(master);
}

} // namespace
