#include "HelpKey.h"
#include "HelpWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

// Stands for the serial traffic window, whose help is its section of the guide.
class TrafficWindow : public QWidget
{
    Q_OBJECT
};

namespace {

const QString guide = QStringLiteral(QX410_DOCS_DIR "/user-guide.md");

class HelpWindowTest : public ::testing::Test
{
protected:
    HelpWindowTest()
        : window(guide)
    {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    int scrolled() const { return window.browser()->verticalScrollBar()->value(); }

    HelpWindow window;
};

TEST_F(HelpWindowTest, ShowsTheRenderedGuideWithItsContentsAndPictures)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Qx410 Help"));
    const QString text = window.browser()->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Messages and what to do")));
    EXPECT_FALSE(text.contains(QStringLiteral("## ")));
    auto* contents = window.findChild<QTreeWidget*>(QStringLiteral("contents"));
    ASSERT_NE(contents, nullptr);
    int items = 0;
    for (QTreeWidgetItemIterator it(contents); *it; ++it)
        ++items;
    EXPECT_EQ(items, window.headings().size());
    EXPECT_GT(items, 10);
    // Pictures are found beside the guide.
    EXPECT_TRUE(window.browser()->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("main-window.png"))).isValid());
}

TEST_F(HelpWindowTest, SectionsLinksBackAndForward)
{
    EXPECT_EQ(scrolled(), 0);
    window.showSection(QStringLiteral("files"));
    const int files = scrolled();
    EXPECT_GT(files, 0);
    emit window.browser()->anchorClicked(QUrl(QStringLiteral("#choosing-the-port")));
    EXPECT_EQ(window.currentSection(), QStringLiteral("choosing-the-port"));
    const int port = scrolled();
    EXPECT_GT(port, 0);
    EXPECT_LT(port, files);
    window.findChild<QToolButton*>(QStringLiteral("back"))->click();
    EXPECT_EQ(window.currentSection(), QStringLiteral("files"));
    EXPECT_EQ(scrolled(), files);
    window.findChild<QToolButton*>(QStringLiteral("forward"))->click();
    EXPECT_EQ(scrolled(), port);
}

TEST_F(HelpWindowTest, FindsWordsAndSaysWhenTheyAreNotThere)
{
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    auto* find = window.findChild<QLineEdit*>(QStringLiteral("findText"));
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    find->setText(QStringLiteral("exit status: 0 done"));
    EXPECT_TRUE(window.findNext());
    EXPECT_EQ(window.browser()->textCursor().selectedText(), QStringLiteral("Exit status: 0 done"));
    EXPECT_GT(scrolled(), 0);
    find->setText(QStringLiteral("no such words here"));
    EXPECT_FALSE(window.findNext());
}

TEST(HelpKey, FOneInAWindowWithASectionOpensItThere)
{
    TrafficWindow traffic;
    QLineEdit field(&traffic);
    QWidget other;
    QList<QString> opened;
    HelpKey key([&](QWidget* window, const QString& section) {
        EXPECT_EQ(window, &traffic);
        opened << section;
    });
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    EXPECT_TRUE(key.eventFilter(&field, &f1));
    EXPECT_FALSE(key.eventFilter(&other, &f1));
    QKeyEvent shiftF1(QEvent::KeyPress, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_FALSE(key.eventFilter(&field, &shiftF1));
    EXPECT_EQ(opened, QList<QString>{QStringLiteral("the-serial-traffic-log")});
}

} // namespace

#include "HelpWindowTest.moc"
