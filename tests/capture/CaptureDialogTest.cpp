// The capture editor's window: its controls, the buttons reaching the
// session, the list and count shown, closing; and the window opened from the
// main window through the capture factory.

#include "CaptureDialog.h"
#include "CaptureRig.h"

#include "CMainFrame.h"
#include "ControlLayer.h"
#include "CQx410View.h"
#include "MainActions.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList rowsOf(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

int selectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> picked = list->selectedItems();
    return picked.isEmpty() ? -1 : list->row(picked.first());
}

const QGroupBox* enclosingGroup(const QWidget* w)
{
    for (const QObject* o = w->parent(); o; o = o->parent())
        if (auto* box = qobject_cast<const QGroupBox*>(o))
            return box;
    return nullptr;
}

// A capture window on the simulated controller, shown offscreen. The window
// deletes itself when it closes; the rig deletes it otherwise.
struct Shown
{
    Shown()
    {
        frame.start();
        auto owned = std::make_unique<ScriptedPrompts>();
        prompts = owned.get();
        dialog = new CaptureDialog(frame.state, frame.ops, std::move(owned), [this] { ++closed; });
        dialog->show();
        exposed = QTest::qWaitForWindowExposed(dialog);
    }
    ~Shown() { delete dialog; }

    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(QLatin1String(name)); }
    void click(const char* name)
    {
        QPushButton* b = button(name);
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void clickRow(int row)
    {
        QListWidget* list = dialog->lineList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    void answer(std::initializer_list<Answer> answers)
    {
        for (Answer a : answers)
            prompts->answers.push_back(a);
    }
    QStringList rows() const { return rowsOf(dialog->lineList()); }
    QString countShown() const { return dialog->countEdit()->text(); }

    SimFrame frame;
    ScriptedPrompts* prompts = nullptr;
    int closed = 0;
    QPointer<CaptureDialog> dialog;
    bool exposed = false;
};

// --- The window's controls -------------------------------------------------------

TEST(CaptureDialogLook, TitleIconAndModeless)
{
    Shown s;
    ASSERT_TRUE(s.exposed);
    EXPECT_EQ(s.dialog->windowTitle(), QStringLiteral("     Doveza Ruzoradi"));
    EXPECT_FALSE(s.dialog->windowIcon().isNull());
    EXPECT_FALSE(s.dialog->isModal());
    EXPECT_TRUE(s.dialog->testAttribute(Qt::WA_DeleteOnClose));
}

TEST(CaptureDialogLook, GroupsButtonsListAndCount)
{
    Shown s;
    ASSERT_TRUE(s.exposed);
    struct Group
    {
        const char* name;
        const char* title;
        QList<QPair<const char*, const char*>> buttons; // top to bottom
    };
    const QList<Group> groups{
        {"captureGroup",
         "Capture",
         {{"positionButton", "Position"},
          {"speedButton", "Speed +Res"},
          {"pauseButton", "Pause"},
          {"parametersButton", "Parameters"}}},
        {"editGroup",
         "Edit",
         {{"deleteButton", "Delete Item"}, {"reverseButton", "Reverse Path"}, {"clearButton", "Clear List"}}},
        {"fileGroup", "File", {{"loadButton", "Load File"}, {"saveButton", "Save File"}}},
    };
    for (const Group& g : groups) {
        const auto* box = s.dialog->findChild<QGroupBox*>(QLatin1String(g.name));
        ASSERT_NE(box, nullptr) << g.name;
        EXPECT_EQ(box->title(), QLatin1String(g.title));
        int lastY = -1;
        for (const auto& [name, caption] : g.buttons) {
            QPushButton* b = s.button(name);
            ASSERT_NE(b, nullptr) << name;
            EXPECT_EQ(b->text(), QLatin1String(caption));
            EXPECT_EQ(enclosingGroup(b), box) << name;
            const int y = b->mapTo(s.dialog, QPoint()).y();
            EXPECT_GT(y, lastY) << name << " lies below the one before";
            lastY = y;
        }
    }
    QPushButton* exit = s.button("exitButton");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), "Exit");
    EXPECT_EQ(enclosingGroup(exit), nullptr);
    EXPECT_EQ(s.dialog->findChildren<QPushButton*>().size(), 10);

    const auto* fileLabel = s.dialog->findChild<QLabel*>("fileLabel");
    const auto* countLabel = s.dialog->findChild<QLabel*>("countLabel");
    ASSERT_NE(fileLabel, nullptr);
    ASSERT_NE(countLabel, nullptr);
    EXPECT_EQ(fileLabel->text(), "File");
    EXPECT_EQ(countLabel->text(), "Capture Count");
    EXPECT_TRUE(s.dialog->countEdit()->isReadOnly());
    EXPECT_EQ(s.countShown(), QString()) << "empty at first";

    QListWidget* list = s.dialog->lineList();
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_EQ(list->textElideMode(), Qt::ElideNone) << "a long Status line is shown whole, scrolled";
    EXPECT_EQ(list->count(), 0);

    // Where things stand: "File" top left, Capture left of the list, Edit and
    // File right of it, the count bottom left, Exit bottom right.
    auto rect = [&s](const QWidget* w) { return QRect(w->mapTo(s.dialog, QPoint()), w->size()); };
    const QRect capture = rect(s.dialog->findChild<QGroupBox*>("captureGroup"));
    const QRect edit = rect(s.dialog->findChild<QGroupBox*>("editGroup"));
    const QRect file = rect(s.dialog->findChild<QGroupBox*>("fileGroup"));
    const QRect listRect = rect(list);
    EXPECT_LT(rect(fileLabel).bottom(), capture.top());
    EXPECT_LT(rect(fileLabel).left(), listRect.left());
    EXPECT_LT(capture.right(), listRect.left());
    EXPECT_GT(edit.left(), listRect.right());
    EXPECT_LT(edit.bottom(), file.top());
    EXPECT_GT(rect(s.dialog->countEdit()).top(), capture.bottom());
    EXPECT_LT(rect(s.dialog->countEdit()).right(), listRect.left());
    EXPECT_GT(rect(exit).top(), file.bottom());
    EXPECT_GT(rect(exit).left(), listRect.right());
}

// --- Buttons, list and count ------------------------------------------------------

TEST(CaptureDialogButtons, CapturesShowInTheListAndTheCount)
{
    Shown s;
    ASSERT_TRUE(s.exposed);
    s.frame.placeController(Position{30000, -8750, 1000}); // 1200, -350, 40 µm
    s.answer({Answer::Yes});
    s.click("positionButton");
    EXPECT_EQ(s.rows(), QStringList({"Low, 1000", "Move, 1200, -350, 40"}));
    EXPECT_EQ(s.countShown(), "2");
    s.click("pauseButton");
    s.click("pauseButton");
    s.click("speedButton");
    s.click("parametersButton");
    EXPECT_EQ(s.rows().mid(2), QStringList({"Pause ", "Low, 1000",
                                            "Status, 0,0,0,0,1000,1200,-350,40,0,0,0,1200,-350,40,0,0,0,0,0"}));
    EXPECT_EQ(s.countShown(), "5");
    EXPECT_EQ(s.rows(), s.dialog->session().lines());
    EXPECT_EQ(s.frame.port.written, hex("630D 730D"));
}

TEST(CaptureDialogButtons, EnterPressesNoButton)
{
    Shown s;
    ASSERT_TRUE(s.exposed);
    for (QPushButton* b : s.dialog->findChildren<QPushButton*>()) {
        EXPECT_FALSE(b->autoDefault()) << qPrintable(b->text());
        EXPECT_FALSE(b->isDefault()) << qPrintable(b->text());
    }
    s.button("positionButton")->setFocus();
    QTest::keyClick(s.dialog, Qt::Key_Return);
    QTest::keyClick(s.button("positionButton"), Qt::Key_Enter);
    s.dialog->lineList()->setFocus();
    QTest::keyClick(s.dialog->lineList(), Qt::Key_Return);
    EXPECT_TRUE(s.rows().isEmpty());
    EXPECT_TRUE(s.frame.port.written.isEmpty());
    EXPECT_TRUE(s.prompts->shown.isEmpty());
    EXPECT_TRUE(s.dialog->isVisible());
}

TEST(CaptureDialogButtons, ClickedLineIsTheInsertionPointAndStaysSelected)
{
    Shown s;
    ASSERT_TRUE(s.exposed);
    s.click("speedButton");
    s.click("pauseButton");
    s.click("speedButton");
    s.clickRow(1);
    EXPECT_EQ(s.dialog->session().selected(), 1);
    s.answer({Answer::No});
    s.click("positionButton");
    s.click("positionButton");
    EXPECT_EQ(s.rows(), QStringList({"Low, 1000", "Move, 0, 0, 0", "Move, 0, 0, 0", "Pause ", "Low, 1000"}));
    EXPECT_EQ(selectedRow(s.dialog->lineList()), 3) << "still the Pause line";

    s.click("deleteButton");
    EXPECT_EQ(s.rows(), QStringList({"Low, 1000", "Move, 0, 0, 0", "Move, 0, 0, 0", "Low, 1000"}));
    EXPECT_EQ(selectedRow(s.dialog->lineList()), -1);
    EXPECT_EQ(s.countShown(), "4");
    s.click("deleteButton");
    EXPECT_EQ(s.rows(), QStringList({"Low, 1000", "Move, 0, 0, 0", "Move, 0, 0, 0"}))
        << "the last line without a selection";
}

TEST(CaptureDialogButtons, EditButtonsAskThroughThePrompts)
{
    Shown s;
    ASSERT_TRUE(s.exposed);
    s.click("speedButton");
    s.click("pauseButton");
    s.answer({Answer::Yes});
    s.click("reverseButton");
    EXPECT_EQ(s.rows(), QStringList({"Low, 1000", "Pause "}));
    s.answer({Answer::Yes});
    s.click("clearButton");
    EXPECT_TRUE(s.rows().isEmpty());
    EXPECT_EQ(s.countShown(), QString());
    ASSERT_EQ(s.prompts->shown.size(), 2);
    EXPECT_EQ(s.prompts->shown[0].text, CaptureSession::reverseText);
    EXPECT_EQ(s.prompts->shown[1].text, CaptureSession::clearText);
}

TEST(CaptureDialogButtons, RecordedProgramSavedAndLoadedIntoAFreshWindow)
{
    QTemporaryDir folder;
    const QString name = QDir(folder.path()).filePath("recorded.dat");
    QStringList recorded;
    {
        Shown s;
        ASSERT_TRUE(s.exposed);
        s.answer({Answer::Yes});
        s.frame.placeController(Position{2500, 5000, -7500});
        s.click("positionButton");
        s.frame.ops.absoluteMove(Position{-25000, 0, 12500});
        s.click("positionButton");
        s.click("pauseButton");
        s.click("parametersButton");
        s.frame.ops.state().resolution = ControlState::highResolution;
        s.frame.ops.state().velocity = 600;
        s.click("speedButton");
        s.frame.ops.absoluteMove(Position{0, 0, 0});
        s.answer({Answer::No}); // keep the old settings in the list
        s.click("positionButton");
        recorded = s.rows();
        ASSERT_EQ(recorded.size(), 7);
        s.prompts->fileNames.push_back(name);
        s.click("saveButton");
        EXPECT_EQ(s.frame.state.path1File, name);
        s.click("exitButton");
        EXPECT_EQ(s.closed, 1) << "saved: no question";
        flushDeletes();
        EXPECT_TRUE(s.dialog.isNull());
    }
    Shown fresh;
    ASSERT_TRUE(fresh.exposed);
    fresh.prompts->fileNames.push_back(name);
    fresh.click("loadButton");
    EXPECT_EQ(fresh.rows(), recorded);
    EXPECT_EQ(fresh.countShown(), "7");
    EXPECT_EQ(recorded.at(1), "Move, 100, 200, -300");
    EXPECT_EQ(recorded.at(2), "Move, -1000, 0, 500");
}

// --- Closing ---------------------------------------------------------------------------

TEST(CaptureDialogClosing, ExitEscAndCloseBoxAskWhileLinesAreUnsaved)
{
    Shown s;
    ASSERT_TRUE(s.exposed);
    s.click("speedButton");

    s.click("exitButton");
    QTest::keyClick(s.dialog, Qt::Key_Escape);
    s.dialog->close(); // the close box
    ASSERT_EQ(s.prompts->shown.size(), 3);
    for (const ScriptedPrompts::Shown& shown : s.prompts->shown) {
        EXPECT_EQ(shown.text, "Quit without saving data?");
        EXPECT_EQ(shown.caption, "Doveza Ruzoradi");
    }
    flushDeletes();
    ASSERT_FALSE(s.dialog.isNull());
    EXPECT_TRUE(s.dialog->isVisible()) << "No keeps the window open, unchanged";
    EXPECT_EQ(s.rows(), QStringList({"Low, 1000"}));
    EXPECT_EQ(s.closed, 0);

    s.answer({Answer::Yes});
    QTest::keyClick(s.dialog, Qt::Key_Escape);
    EXPECT_EQ(s.closed, 1);
    flushDeletes();
    EXPECT_TRUE(s.dialog.isNull()) << "the window deletes itself";
}

TEST(CaptureDialogClosing, EmptyWindowClosesAtOnce)
{
    Shown s;
    ASSERT_TRUE(s.exposed);
    s.click("exitButton");
    EXPECT_TRUE(s.prompts->shown.isEmpty());
    EXPECT_EQ(s.closed, 1);
    flushDeletes();
    EXPECT_TRUE(s.dialog.isNull());
}

// --- Opened from the main window ----------------------------------------------------

// The main window on the simulated controller, with the capture factory
// wired as the desktop program wires it (scripted prompts in place of
// message boxes).
struct Window
{
    Window()
        : port(controller, clock)
        , link(port, clock, linkPrompts, serial)
        , control(link)
        , ops(link, clock)
    {
        link.open();
        frame = std::make_unique<CMainFrame>(state, ops, serial, linkPrompts);
        frame->initialExchange();
        port.written.clear();

        CMainFrame* main = frame.get();
        factory = [this, main](QWidget* owner) -> QDialog* {
            auto owned = std::make_unique<ScriptedPrompts>();
            prompts = owned.get();
            QPointer<CMainFrame> guard(main);
            return new CaptureDialog(main->state(), main->control(), std::move(owned), [guard] {
                if (guard)
                    guard->notifyCaptureClosed();
            }, owner);
        };
        frame->setCaptureFactory(factory);
    }

    CaptureDialog* capture() const { return qobject_cast<CaptureDialog*>(frame->view()->capture()); }
    // What the Define Path buttons do.
    void definePath(int n)
    {
        frame->view()->openCapture(factory);
        frame->state().pathSelector = n;
    }

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts linkPrompts;
    SerialSettings serial;
    SerialLink link;
    Controller control;
    ControlLayer ops;
    MainFrameState state;
    std::unique_ptr<CMainFrame> frame;
    std::function<QDialog*(QWidget*)> factory;
    ScriptedPrompts* prompts = nullptr; // those of the newest capture window
};

TEST(CaptureDialogFromMainWindow, OneWindowAtATimeAndClosingReachesTheView)
{
    Window w;
    QSignalSpy closedSpy(w.frame.get(), &CMainFrame::captureClosed);
    w.frame->actions().captureCommands->trigger();
    QPointer<CaptureDialog> first = w.capture();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first->parent(), w.frame->view()) << "owned by the view";
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), "     Doveza Ruzoradi");
    first->session().speedRes();

    w.frame->actions().captureCommands->trigger();
    EXPECT_EQ(w.capture(), first.data()) << "the same window again";
    EXPECT_EQ(first->session().count(), 1);

    w.prompts->answers.push_back(Answer::Yes); // quit without saving
    QTest::mouseClick(first->findChild<QPushButton*>("exitButton"), Qt::LeftButton);
    EXPECT_EQ(closedSpy.count(), 1);
    EXPECT_EQ(w.frame->view()->capture(), nullptr) << "the view has forgotten it";
    flushDeletes();
    EXPECT_TRUE(first.isNull());

    w.frame->actions().captureCommands->trigger();
    ASSERT_NE(w.capture(), nullptr);
    EXPECT_EQ(w.capture()->session().count(), 0) << "a new window starts empty";
    EXPECT_EQ(w.capture()->countEdit()->text(), QString());
}

TEST(CaptureDialogFromMainWindow, FileExitWithUnsavedLinesAsksAndNoKeepsTheProgramOpen)
{
    Window w;
    w.frame->show();
    w.frame->actions().captureCommands->trigger();
    QPointer<CaptureDialog> dialog = w.capture();
    ASSERT_FALSE(dialog.isNull());
    dialog->session().speedRes();

    w.prompts->answers.push_back(Answer::No);
    w.frame->actions().exit->trigger();
    ASSERT_EQ(w.prompts->shown.size(), 1);
    EXPECT_EQ(w.prompts->shown[0].text, QStringLiteral("Quit without saving data?"));
    EXPECT_TRUE(w.frame->isVisible());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->session().count(), 1);

    w.prompts->answers.push_back(Answer::Yes);
    w.frame->actions().exit->trigger();
    EXPECT_FALSE(w.frame->isVisible());
}

TEST(CaptureDialogFromMainWindow, DefinePathTwoThenSaveSetsPathTwo)
{
    Window w;
    QTemporaryDir folder;
    const QString name = QDir(folder.path()).filePath("path2.dat");
    w.definePath(2);
    CaptureDialog* dialog = w.capture();
    ASSERT_NE(dialog, nullptr);
    w.ops.state().velocity = 1000;
    dialog->session().speedRes();
    w.prompts->fileNames.push_back(name);
    QTest::mouseClick(dialog->findChild<QPushButton*>("saveButton"), Qt::LeftButton);
    EXPECT_EQ(w.state.path2File, name);
    EXPECT_TRUE(w.state.path1File.isEmpty());

    w.definePath(1); // the same window; the selector changes at once
    EXPECT_EQ(w.capture(), dialog);
    w.prompts->fileNames.push_back(name);
    QTest::mouseClick(dialog->findChild<QPushButton*>("loadButton"), Qt::LeftButton);
    EXPECT_EQ(w.state.path1File, name) << "a loaded file is the path at once";
    EXPECT_EQ(dialog->session().count(), 2);
}

TEST(CaptureDialogFromMainWindow, PositionReadsTheMainWindowReadOut)
{
    Window w;
    w.frame->actions().captureCommands->trigger();
    CaptureDialog* dialog = w.capture();
    ASSERT_NE(dialog, nullptr);
    w.frame->moveTo(Position{2500, 2500, 2500});
    w.port.written.clear();
    w.prompts->answers.push_back(Answer::No);
    QTest::mouseClick(dialog->findChild<QPushButton*>("positionButton"), Qt::LeftButton);
    EXPECT_EQ(w.port.written, hex("630D"));
    EXPECT_EQ(rowsOf(dialog->lineList()), QStringList({"Move, 100, 100, 100"}));
}

} // namespace
