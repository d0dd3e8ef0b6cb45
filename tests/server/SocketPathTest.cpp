// Where the socket lives and who may reach it.

#include "SocketPath.h"
#include "ServerRig.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(SocketPath, EveryNameOfADeviceMeetsTheSameSocket)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
    QFile(device).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(device, dir.filePath(QStringLiteral("by-id"))));
    EXPECT_EQ(SocketPath::socketName(dir.filePath(QStringLiteral("by-id"))), SocketPath::socketName(device));
    EXPECT_EQ(SocketPath::socketName(dir.path() + QStringLiteral("/./ttyUSB0")), SocketPath::socketName(device));
}

TEST(SocketPath, NamesAreSafeAndDistinct)
{
    EXPECT_EQ(SocketPath::socketName(QStringLiteral("/dev/ttyUSB0")), QStringLiteral("dev_ttyUSB0.sock"));
    EXPECT_NE(SocketPath::socketName(QStringLiteral("/dev/a_b")), SocketPath::socketName(QStringLiteral("/dev/a/b")));
    const QString longName
        = SocketPath::socketName(QStringLiteral("/dev/serial/by-id/") + QString(200, QLatin1Char('x')));
    EXPECT_LE(longName.size(), 60);
    EXPECT_FALSE(longName.contains(QLatin1Char('/')));
}

TEST(SocketPath, FolderFromTheRuntimeDirectory)
{
    const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", "/run/user/4242");
    EXPECT_EQ(SocketPath::folder(), QStringLiteral("/run/user/4242/qx410"));
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(SocketPath::folder().startsWith(QDir::tempPath() + QStringLiteral("/qx410-")));
    if (!old.isEmpty())
        qputenv("XDG_RUNTIME_DIR", old);
}

TEST(SocketPath, FolderIsMadePrivateAndAnOpenOneRefused)
{
    QTemporaryDir dir;
    const QString made = dir.filePath(QStringLiteral("qx410"));
    QString why;
    ASSERT_TRUE(SocketPath::prepareFolder(made, &why)) << qPrintable(why);
    struct stat st = {};
    ::stat(QFile::encodeName(made).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    ::chmod(QFile::encodeName(made).constData(), 0755);
    EXPECT_FALSE(SocketPath::prepareFolder(made, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("it must be 0700"))) << qPrintable(why);

    const QString link = dir.filePath(QStringLiteral("link"));
    QFile::link(dir.path(), link);
    EXPECT_FALSE(SocketPath::prepareFolder(link, &why));
}

TEST(SocketPath, SocketIsTheUsersAloneAndASecondServerIsRefused)
{
    ServerRig rig;
    ASSERT_TRUE(rig.listening) << qPrintable(rig.why);
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(rig.path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);

    ServerRig second;
    EXPECT_FALSE(second.server.listen(rig.path, &second.why));
    EXPECT_TRUE(second.why.startsWith(QStringLiteral("another server already serves this device")))
        << qPrintable(second.why);
    EXPECT_EQ(resultOf(rig.client()->request("hello")).value(QStringLiteral("protocol")).toInt(), 1);
}

TEST(SocketPath, AStaleSocketFileIsReplaced)
{
    ServerRig rig;
    const QString path = rig.path;
    rig.server.close();
    // A file left behind by a server that did not end cleanly.
    QFile(path).open(QIODevice::WriteOnly);
    ASSERT_TRUE(rig.server.listen(path, &rig.why)) << qPrintable(rig.why);
    EXPECT_EQ(resultOf(rig.client()->request("hello")).value(QStringLiteral("protocol")).toInt(), 1);
    rig.server.close();
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
