#include "InstanceLock.h"

#include "TempFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>

// A second lock on the same folder is refused and names the holder; once
// the first is gone the folder is free again.
TEST(InstanceLock, SecondWindowOnOneFolderIsRefused)
{
    TempFolder folder;
    const QString path = QString::fromStdString(folder.path().string());
    const QString canonical = QFileInfo(path).canonicalFilePath();
    auto first = std::make_unique<InstanceLock>(path);
    ASSERT_TRUE(first->acquire());
    EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral("/Qx410.lock")));

    InstanceLock second(path + QStringLiteral("/."));
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.held());
    EXPECT_EQ(second.refusal(), QStringLiteral("Another Qx410 window (process %1) already uses the settings in %2. "
                                               "Close it, or start this one with --settings and another folder.")
                                    .arg(QCoreApplication::applicationPid())
                                    .arg(canonical));

    first.reset();
    EXPECT_TRUE(second.acquire());
    EXPECT_TRUE(second.held());
}
