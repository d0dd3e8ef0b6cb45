#include "HelpGuide.h"
#include "HelpHistory.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Heading = HelpGuide::Heading;

TEST(HelpGuide, HeadingsWithTheirAnchorsOutsideCode)
{
    const QString markdown = QStringLiteral(
        "# Qx410 user guide\r\n"
        "text\n"
        "## Messages and what to do\n"
        "```sh\n"
        "# a comment in code, not a heading\n"
        "```\n"
        "### The `qx410ctl` command, **briefly** ##\n"
        "## [Files](#files)\n"
        "#not a heading\n"
        "## Files\n");
    const QList<Heading> expected {
        { 1, QStringLiteral("Qx410 user guide"), QStringLiteral("qx410-user-guide") },
        { 2, QStringLiteral("Messages and what to do"), QStringLiteral("messages-and-what-to-do") },
        { 3, QStringLiteral("The qx410ctl command, briefly"), QStringLiteral("the-qx410ctl-command-briefly") },
        { 2, QStringLiteral("Files"), QStringLiteral("files") },
        { 2, QStringLiteral("Files"), QStringLiteral("files-1") },
    };
    EXPECT_EQ(HelpGuide::headings(markdown), expected);
}

// Every link between sections in the guide names a heading's anchor, and
// every window's section is a heading of the guide.
TEST(HelpGuide, TheGuidesLinksAndSectionsNameItsHeadings)
{
    QFile file(QStringLiteral(QX410_DOCS_DIR "/user-guide.md"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString markdown = QString::fromUtf8(file.readAll());
    QStringList anchors;
    for (const Heading& h : HelpGuide::headings(markdown))
        anchors << h.anchor;
    const QRegularExpression link(QStringLiteral("\\]\\(#([^)]*)\\)"));
    for (auto it = link.globalMatch(markdown); it.hasNext();) {
        const QString anchor = it.next().captured(1);
        EXPECT_TRUE(anchors.contains(anchor)) << qPrintable(anchor);
    }
    for (const char* window : { "CommSetupDialog", "VelocityDialog", "ResolutionDialog", "HardwareSetupDialog", "TravelLimitsDialog",
                                "DefinePositionDialog", "CaptureDialog", "HostExecutionDialog", "DownloadDialog",
                                "ExecuteProgramDialog", "UploadDialog", "NumberEntryDialog", "TrafficWindow",
                                "AboutBox" }) {
        const QString section = HelpGuide::sectionFor(QString::fromLatin1(window));
        EXPECT_TRUE(anchors.contains(section)) << window << " " << qPrintable(section);
    }
    EXPECT_TRUE(HelpGuide::sectionFor(QStringLiteral("QMessageBox")).isEmpty());
}

TEST(HelpGuide, FoundInstalledBesideTheProgramElseInTheSources)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("usr/bin")) && dir.mkpath(QStringLiteral("usr/share/qx410"))
                && dir.mkpath(QStringLiteral("src/docs")));
    const QString bin = dir.filePath(QStringLiteral("usr/bin"));
    const QString docs = dir.filePath(QStringLiteral("src/docs"));
    const auto touch = [](const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };

    EXPECT_EQ(HelpGuide::locate(bin, docs), QString());
    touch(dir.filePath(QStringLiteral("src/docs/user-guide.md")));
    EXPECT_EQ(HelpGuide::locate(bin, docs), dir.filePath(QStringLiteral("src/docs/user-guide.md")));
    touch(dir.filePath(QStringLiteral("usr/share/qx410/user-guide.md")));
    EXPECT_EQ(HelpGuide::locate(bin, docs), dir.filePath(QStringLiteral("usr/share/qx410/user-guide.md")));
}

TEST(HelpHistory, BackAndForwardAndAVisitDropsWhatLayAhead)
{
    HelpHistory h;
    EXPECT_FALSE(h.canGoBack());
    h.visit(QStringLiteral("a"));
    h.visit(QStringLiteral("a"));
    h.visit(QStringLiteral("b"));
    h.visit(QStringLiteral("c"));
    EXPECT_EQ(h.back(), QStringLiteral("b"));
    EXPECT_EQ(h.back(), QStringLiteral("a"));
    EXPECT_EQ(h.back(), QStringLiteral("a"));
    EXPECT_TRUE(h.canGoForward());
    EXPECT_EQ(h.forward(), QStringLiteral("b"));
    h.visit(QStringLiteral("d"));
    EXPECT_FALSE(h.canGoForward());
    EXPECT_EQ(h.back(), QStringLiteral("b"));
    EXPECT_EQ(h.forward(), QStringLiteral("d"));
    EXPECT_EQ(h.forward(), QStringLiteral("d"));
}

} // namespace
