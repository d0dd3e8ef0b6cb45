// The capture session's buttons one by one: Position and Parameters on the
// simulated controller, the other buttons on the list alone.

#include "CaptureRig.h"

#include <gtest/gtest.h>

namespace {

using Icon = Prompts::Icon;
using Buttons = Prompts::Buttons;
using S = CaptureSession;

void expectShown(const ScriptedPrompts::Shown& shown, const QString& text, const QString& caption, Icon icon,
                 Buttons buttons)
{
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.caption, caption);
    EXPECT_EQ(shown.icon, icon) << text.toStdString();
    EXPECT_EQ(shown.buttons, buttons) << text.toStdString();
}

// --- A fresh session --------------------------------------------------------

TEST(CaptureSessionStart, EmptyListSpeedCheckSetSettingsTakenFromTheMainWindow)
{
    SimFrame f;
    f.ops.state().velocity = 321;
    f.ops.state().resolution = ControlState::highResolution;
    CaptureSession s(f.state, f.ops, f.prompts, nullptr);
    EXPECT_TRUE(s.lines().isEmpty());
    EXPECT_EQ(s.count(), 0);
    EXPECT_EQ(s.selected(), -1);
    EXPECT_EQ(flagsOf(s), "saved0 loaded0 pause0 check1 count''");
    EXPECT_EQ(s.rememberedVelocity(), 321);
    EXPECT_EQ(s.rememberedResolution(), ControlState::highResolution);
    EXPECT_FALSE(s.rememberedStatus().has_value());
    EXPECT_TRUE(f.port.written.isEmpty()) << "nothing is sent on opening";
}

TEST(CaptureSessionStart, TitlesAndFileChooserFilter)
{
    EXPECT_EQ(S::title, QStringLiteral("     Doveza Ruzoradi"));
    EXPECT_EQ(S::fileDialogTitle, QStringLiteral("Captured Commands"));
    EXPECT_EQ(S::fileFilter, QStringLiteral("Qx410 Files (*.dat);;All Files (*.*)"));
    EXPECT_EQ(S::defaultSuffix, QStringLiteral("dat"));
}

// --- Line texts ---------------------------------------------------------------

TEST(CaptureSessionLines, SpeedLineFollowsTheMainWindowSettings)
{
    SimFrame f;
    CaptureSession s(f.state, f.ops, f.prompts, nullptr);
    f.ops.state().velocity = 1000;
    f.ops.state().resolution = ControlState::lowResolution;
    EXPECT_EQ(s.speedLine(), "Low, 1000");
    f.ops.state().resolution = ControlState::highResolution;
    f.ops.state().velocity = 65535;
    EXPECT_EQ(s.speedLine(), "High, 65535");
    f.ops.state().resolution = 4711; // only the high code gives "High"
    f.ops.state().velocity = 0;
    EXPECT_EQ(s.speedLine(), "Low, 0");
}

TEST(CaptureSessionLines, MovePauseAndStatusTexts)
{
    EXPECT_EQ(S::moveLine(Position{1200, -350, 40}), "Move, 1200, -350, 40");
    EXPECT_EQ(S::moveLine(Position{0, 0, -2147483647 - 1}), "Move, 0, 0, -2147483648");
    EXPECT_EQ(S::pauseLine(), "Pause ");
    S::StatusNumbers n{};
    for (int i = 0; i < 19; ++i)
        n[static_cast<std::size_t>(i)] = i * 7 - 30;
    EXPECT_EQ(S::statusLine(n), "Status, -30,-23,-16,-9,-2,5,12,19,26,33,40,47,54,61,68,75,82,89,96");
}

TEST(CaptureSessionLines, LongestStatusLineIsKeptWhole)
{
    S::StatusNumbers n{};
    for (std::size_t i = 0; i < n.size(); ++i)
        n[i] = (i < 4 || i == 9 || i == 10) ? 255 : -32768;
    const QString line = S::statusLine(n);
    EXPECT_EQ(line.size(), 122);
    EXPECT_TRUE(line.startsWith("Status, 255,255,255,255,-32768,"));
    EXPECT_TRUE(line.endsWith(",-32768"));
}

TEST(CaptureSessionLines, SpeedLinesAreTheOnesBeginningWithLowOrHigh)
{
    for (const char* yes : {"Low, 5", "High, 5", "Lowest", "Highway", "Low", "High"})
        EXPECT_TRUE(S::isSpeedLine(yes)) << yes;
    for (const char* no : {"", "low, 5", " High, 5", "Lo", "Hig", "Move, 1, 2, 3", "Pause ", "Status, 1"})
        EXPECT_FALSE(S::isSpeedLine(no)) << no;
}

// --- Position -----------------------------------------------------------------

TEST(CaptureSessionPosition, FirstPositionOffersTheSpeedLineAtTheTop)
{
    CaptureRig r;
    r.placeAtMicrons(Position{1200, -350, 40});
    r.answer({Answer::Yes});
    r.session.position();
    EXPECT_EQ(r.frame.port.written, hex("630D")) << "one position query";
    ASSERT_EQ(r.prompts().shown.size(), 1);
    expectShown(r.prompts().shown[0], S::noSpeedLineText, "Warning", Icon::Exclamation, Buttons::YesNo);
    EXPECT_EQ(S::noSpeedLineText, "You did not specify the resolution and speed at the beginning,specify it?");
    EXPECT_EQ(r.session.lines(), QStringList({"Low, 1000", "Move, 1200, -350, 40"}));
    EXPECT_EQ(r.session.countText(), "2");
    EXPECT_EQ(r.frame.ops.state().displayed, (Position{1200, -350, 40}));
    EXPECT_EQ(r.frame.ui.panel, (Position{1200, -350, 40})) << "the read-out follows";
    EXPECT_TRUE(r.session.speedCheck()) << "cleared by the next Position";

    r.takeShown();
    r.placeAtMicrons(Position{-1, 0, 12700});
    r.session.position();
    EXPECT_TRUE(r.takeShown().isEmpty());
    EXPECT_FALSE(r.session.speedCheck());
    ASSERT_EQ(r.session.countText(), "3");
    EXPECT_EQ(r.session.lines().last(), "Move, -1, 0, 12700");
}

TEST(CaptureSessionPosition, NoToTheSpeedQuestionIsNotAskedAgainUntilTheListIsEmptied)
{
    CaptureRig r;
    r.answer({Answer::No});
    r.session.position();
    r.session.position();
    r.session.pause();
    r.session.position();
    EXPECT_EQ(r.takeShown(), QStringList({S::noSpeedLineText}));
    EXPECT_EQ(r.session.lines(), QStringList({"Move, 0, 0, 0", "Move, 0, 0, 0", "Pause ", "Move, 0, 0, 0"}));

    // Delete Item down to nothing sets the check again.
    for (int i = 0; i < 4; ++i)
        r.session.deleteItem();
    EXPECT_TRUE(r.session.speedCheck());
    r.session.position();
    EXPECT_EQ(r.takeShown(), QStringList({S::noSpeedLineText}));

    // So does Clear List.
    r.session.position();
    EXPECT_TRUE(r.takeShown().isEmpty());
    r.answer({Answer::Yes, Answer::No});
    r.session.clearList();
    r.session.position();
    EXPECT_EQ(r.takeShown(), QStringList({S::clearText, S::noSpeedLineText}));
}

TEST(CaptureSessionPosition, ListStartingWithASpeedLineClearsTheCheckWithoutAQuestion)
{
    CaptureRig r;
    r.frame.ops.state().resolution = ControlState::highResolution;
    r.frame.ops.state().velocity = 40;
    r.session.speedRes(); // recorded before the first Position
    r.frame.ops.state().resolution = ControlState::lowResolution;
    r.frame.ops.state().velocity = 1000; // back to the remembered settings
    r.session.position();
    EXPECT_TRUE(r.takeShown().isEmpty());
    EXPECT_FALSE(r.session.speedCheck());
    EXPECT_EQ(r.session.lines(), QStringList({"High, 40", "Move, 0, 0, 0"}));
}

TEST(CaptureSessionPosition, SpeedLineAnsweredYesGoesToTheTopWhateverIsSelected)
{
    CaptureRig r;
    r.session.pause();
    r.session.parameters();
    r.session.select(1);
    r.placeAtMicrons(Position{5, 6, 7});
    r.answer({Answer::Yes});
    r.session.position();
    ASSERT_EQ(r.session.count(), 4);
    EXPECT_EQ(r.session.lines().at(0), "Low, 1000");
    EXPECT_EQ(r.session.lines().at(1), "Pause ");
    EXPECT_EQ(r.session.lines().at(2), "Move, 5, 6, 7");
    EXPECT_TRUE(r.session.lines().at(3).startsWith("Status, "));
    EXPECT_EQ(r.session.selected(), 3) << "the selection stays on the Status line";
}

TEST(CaptureSessionPosition, ChangedVelocityAsksOnceWhateverTheAnswer)
{
    for (Answer first : {Answer::Yes, Answer::No}) {
        CaptureRig r;
        r.answer({Answer::Yes}); // the speed line at the top
        r.session.position();
        r.takeShown();

        r.frame.ops.state().velocity = 500; // changed in the main window
        r.answer({first});
        r.session.position();
        ASSERT_EQ(r.prompts().shown.size(), 1);
        expectShown(r.prompts().shown[0], S::settingsChangedText, "Doveza Ruzoradi", Icon::Exclamation,
                    Buttons::YesNo);
        EXPECT_EQ(S::settingsChangedText, "Velocity or resolution has been changed, use new settings?");
        EXPECT_EQ(r.session.rememberedVelocity(), 500);
        r.takeShown();
        r.session.position();
        EXPECT_TRUE(r.takeShown().isEmpty()) << "asked only once";

        QStringList expected{"Low, 1000", "Move, 0, 0, 0"};
        if (first == Answer::Yes)
            expected << "Low, 500";
        expected << "Move, 0, 0, 0"
                 << "Move, 0, 0, 0";
        EXPECT_EQ(r.session.lines(), expected);
    }
}

TEST(CaptureSessionPosition, ChangedResolutionAloneAsksToo)
{
    CaptureRig r;
    r.answer({Answer::No});
    r.session.position(); // no speed line
    r.frame.ops.state().resolution = ControlState::highResolution;
    r.answer({Answer::Yes});
    r.session.position();
    EXPECT_EQ(r.takeShown(), QStringList({S::noSpeedLineText, S::settingsChangedText}));
    EXPECT_EQ(r.session.lines(), QStringList({"Move, 0, 0, 0", "High, 1000", "Move, 0, 0, 0"}));
    EXPECT_EQ(r.session.rememberedResolution(), ControlState::highResolution);
}

TEST(CaptureSessionPosition, ChangedSettingsOnAnEmptyListAnswerTheSpeedCheckToo)
{
    CaptureRig r;
    r.frame.ops.state().velocity = 250;
    r.answer({Answer::Yes});
    r.session.position();
    EXPECT_EQ(r.takeShown(), QStringList({S::settingsChangedText})) << "the new speed line is already first";
    EXPECT_EQ(r.session.lines(), QStringList({"Low, 250", "Move, 0, 0, 0"}));
    EXPECT_FALSE(r.session.speedCheck());

    CaptureRig n;
    n.frame.ops.state().velocity = 250;
    n.answer({Answer::No, Answer::Yes});
    n.session.position();
    EXPECT_EQ(n.takeShown(), QStringList({S::settingsChangedText, S::noSpeedLineText}));
    EXPECT_EQ(n.session.lines(), QStringList({"Low, 250", "Move, 0, 0, 0"}));
    EXPECT_TRUE(n.session.speedCheck());
}

TEST(CaptureSessionPosition, CapturesGoInFrontOfTheSelectedLineInCaptureOrder)
{
    CaptureRig r;
    r.answer({Answer::Yes});
    r.session.position(); // Low, Move 0
    r.session.pause();    // third line
    r.session.select(2);
    r.placeAtMicrons(Position{10, 0, 0});
    r.session.position();
    r.placeAtMicrons(Position{20, 0, 0});
    r.session.position();
    EXPECT_EQ(r.session.lines(),
              QStringList({"Low, 1000", "Move, 0, 0, 0", "Move, 10, 0, 0", "Move, 20, 0, 0", "Pause "}));
    EXPECT_EQ(r.session.selected(), 4);
    EXPECT_EQ(r.session.countText(), "5");

    r.session.select(0);
    r.session.speedRes();
    ASSERT_EQ(r.session.count(), 6);
    EXPECT_EQ(r.session.lines().first(), "Low, 1000");
    EXPECT_EQ(r.session.lines().at(1), "Low, 1000");
    EXPECT_EQ(r.session.selected(), 1);
}

TEST(CaptureSessionPosition, SilentControllerRecoveredKeepsTheLastDisplayedPosition)
{
    // Start-up (three commands), a move and one more query are answered.
    CaptureRig r(qx410sim::Faults{true, false, false, 5});
    r.placeAtMicrons(Position{7, 8, 9});
    r.frame.ops.getPosition();
    r.placeAtMicrons(Position{100, 100, 100});
    r.session.speedRes();
    r.answer({Answer::Yes}); // reset communication
    r.session.position();
    EXPECT_EQ(r.takeShown(), QStringList({SerialLink::noReplyText}));
    EXPECT_EQ(r.session.lines(), QStringList({"Low, 1000", "Move, 7, 8, 9"}));
    EXPECT_TRUE(r.prompts().endedWith.isEmpty());
}

TEST(CaptureSessionPosition, ProgramEndingRecordsNothing)
{
    CaptureRig r(qx410sim::Faults{true, false, false, 3});
    r.session.pause();
    r.answer({Answer::No}); // no reset: the program ends
    r.session.position();
    EXPECT_EQ(r.prompts().endedWith, QList<int>({-1}));
    EXPECT_EQ(r.session.lines(), QStringList({"Pause "}));
    EXPECT_TRUE(r.session.lastWasPause());
}

TEST(CaptureSessionPosition, IgnoredWhileAMoveAwaitsTheController)
{
    CaptureRig r;
    r.frame.ops.state().busy = true;
    r.session.position();
    r.session.parameters();
    EXPECT_TRUE(r.frame.port.written.isEmpty());
    EXPECT_TRUE(r.session.lines().isEmpty());
    EXPECT_TRUE(r.prompts().shown.isEmpty());
}

// --- Speed +Res and Pause -----------------------------------------------------------

TEST(CaptureSessionSpeed, RecordsTheCurrentSettingsAndSendsNothing)
{
    CaptureRig r;
    r.frame.ops.state().resolution = ControlState::highResolution;
    r.frame.ops.state().velocity = 1310;
    r.session.speedRes();
    EXPECT_EQ(r.session.lines(), QStringList({"High, 1310"}));
    EXPECT_EQ(r.session.countText(), "1");
    EXPECT_TRUE(r.frame.port.written.isEmpty());
    EXPECT_EQ(r.session.rememberedVelocity(), 1000) << "the remembered settings stay";
    EXPECT_EQ(r.session.rememberedResolution(), ControlState::lowResolution);
    EXPECT_TRUE(r.prompts().shown.isEmpty());
}

TEST(CaptureSessionPause, OnlyOnePauseInARow)
{
    CaptureRig r;
    r.session.pause();
    r.session.pause();
    EXPECT_EQ(r.session.lines(), QStringList({"Pause "}));
    r.answer({Answer::No});
    r.session.position();
    r.session.pause();
    r.session.pause();
    EXPECT_EQ(r.session.lines(), QStringList({"Pause ", "Move, 0, 0, 0", "Pause "}));
    r.session.speedRes();
    r.session.pause();
    EXPECT_EQ(r.session.lines().mid(3), QStringList({"Low, 1000", "Pause "}));
    EXPECT_TRUE(r.prompts().shown.size() == 1) << "Pause never asks";
}

// --- Parameters -----------------------------------------------------------------

TEST(CaptureSessionParameters, RecordsTheControllersStatusBlock)
{
    CaptureRig r;
    r.placeAtMicrons(Position{100, -200, 1});
    r.frame.port.written.clear();
    r.session.parameters();
    EXPECT_EQ(r.frame.port.written, hex("730D"));
    EXPECT_EQ(r.session.lines(), QStringList({"Status, 0,0,0,0,1000,100,-200,1,0,0,0,100,-200,1,0,0,0,0,0"}));
    EXPECT_EQ(r.session.countText(), "1");
    ASSERT_TRUE(r.session.rememberedStatus().has_value());
    EXPECT_EQ((*r.session.rememberedStatus())[5], 100);
    EXPECT_TRUE(r.prompts().shown.isEmpty());
}

TEST(CaptureSessionParameters, SameStatusAsksBeforeSavingAnotherOne)
{
    CaptureRig r;
    r.session.parameters();
    r.answer({Answer::No});
    r.saveAs(r.file("s.dat")); // saved flag set
    ASSERT_TRUE(r.session.saved());
    r.takeShown();
    r.session.pause();
    r.saveAs(r.file("s.dat"));
    r.takeShown();

    r.answer({Answer::No});
    r.session.parameters();
    ASSERT_EQ(r.prompts().shown.size(), 1);
    expectShown(r.prompts().shown[0], S::anotherStatusText, "Doveza Ruzoradi", Icon::Exclamation, Buttons::YesNo);
    EXPECT_EQ(S::anotherStatusText, "Save another status string?");
    EXPECT_EQ(r.session.count(), 2) << "No adds nothing";
    EXPECT_FALSE(r.session.saved()) << "but clears the saved flag";
    EXPECT_FALSE(r.session.lastWasPause());
    r.takeShown();

    r.answer({Answer::No});
    EXPECT_FALSE(r.session.exit());
    EXPECT_EQ(r.takeShown(), QStringList({S::quitText}));

    r.answer({Answer::Yes});
    r.session.parameters();
    ASSERT_EQ(r.session.count(), 3);
    EXPECT_EQ(r.session.lines().at(2), r.session.lines().at(0));

    // A change in the controller: no question.
    r.placeAtMicrons(Position{3, 0, 0});
    r.takeShown();
    r.session.parameters();
    EXPECT_TRUE(r.takeShown().isEmpty());
    ASSERT_EQ(r.session.count(), 4);
    EXPECT_EQ(r.session.lines().at(3), "Status, 0,0,0,0,1000,3,0,0,0,0,0,3,0,0,0,0,0,0,0");
}

TEST(CaptureSessionParameters, NoReplyRecordsNothingButStillClearsTheFlags)
{
    CaptureRig r(qx410sim::Faults{true, false, false, 3});
    r.session.pause();
    r.answer({Answer::Yes}); // reset communication
    r.session.parameters();
    EXPECT_EQ(r.takeShown(), QStringList({SerialLink::noReplyText}));
    EXPECT_EQ(r.session.lines(), QStringList({"Pause "}));
    EXPECT_FALSE(r.session.lastWasPause());
    EXPECT_FALSE(r.session.rememberedStatus().has_value());

    r.session.pause();
    r.answer({Answer::No}); // the program ends
    r.session.parameters();
    EXPECT_EQ(r.prompts().endedWith, QList<int>({-1}));
    EXPECT_EQ(r.session.count(), 2);
    EXPECT_TRUE(r.session.lastWasPause()) << "nothing more happens once the program is ending";
}

// --- Delete Item and Clear List -----------------------------------------------------

TEST(CaptureSessionDelete, LastLineWithoutSelectionTheSelectedOneOtherwise)
{
    CaptureRig r;
    r.session.speedRes();
    r.session.pause();
    r.frame.ops.state().velocity = 7;
    r.session.speedRes();
    r.session.deleteItem();
    EXPECT_EQ(r.session.lines(), QStringList({"Low, 1000", "Pause "}));
    EXPECT_TRUE(r.session.lastWasPause()) << "the list ends with a Pause line again";
    EXPECT_EQ(r.session.countText(), "2");
    EXPECT_TRUE(r.session.loaded());

    r.session.select(0);
    r.session.deleteItem();
    EXPECT_EQ(r.session.lines(), QStringList({"Pause "}));
    EXPECT_EQ(r.session.selected(), -1);
    EXPECT_TRUE(r.prompts().shown.isEmpty()) << "no question";
}

TEST(CaptureSessionDelete, OnlyLineEmptiesTheCountAndExitAsksNothing)
{
    CaptureRig r;
    r.session.speedRes();
    r.session.deleteItem();
    EXPECT_EQ(flagsOf(r.session), "saved1 loaded1 pause0 check1 count''");
    EXPECT_TRUE(r.session.exit());
    EXPECT_TRUE(r.prompts().shown.isEmpty());
    EXPECT_EQ(r.closed, 1);
}

TEST(CaptureSessionDelete, OnAnEmptyListClearsTheLoadedFlag)
{
    CaptureRig r;
    r.chooseFile(r.file("missing.dat"));
    r.session.loadFile();
    ASSERT_TRUE(r.session.loaded());
    r.session.deleteItem();
    EXPECT_FALSE(r.session.loaded());
    EXPECT_EQ(r.session.countText(), "0") << "the display is left alone";
}

TEST(CaptureSessionClear, AsksThenEmptiesTheList)
{
    CaptureRig r;
    r.session.clearList();
    EXPECT_TRUE(r.prompts().shown.isEmpty()) << "nothing to clear";

    r.session.speedRes();
    r.session.pause();
    r.session.deleteItem(); // loaded flag set
    r.session.pause();
    r.session.select(0);
    r.answer({Answer::No});
    r.session.clearList();
    ASSERT_EQ(r.prompts().shown.size(), 1);
    expectShown(r.prompts().shown[0], S::clearText, "Clear List", Icon::Exclamation, Buttons::YesNo);
    EXPECT_EQ(S::clearText, "Clear all program steps. Are you sure?");
    EXPECT_EQ(r.session.count(), 2);

    r.answer({Answer::Yes});
    r.session.clearList();
    EXPECT_TRUE(r.session.lines().isEmpty());
    EXPECT_EQ(r.session.selected(), -1);
    EXPECT_EQ(flagsOf(r.session), "saved0 loaded0 pause1 check1 count''");
    r.session.pause();
    EXPECT_TRUE(r.session.lines().isEmpty()) << "the last-was-Pause flag is left as it was";
}

// --- Reverse Path -------------------------------------------------------------

TEST(CaptureSessionReverse, AsksFirstAndKeepsCountAndFlags)
{
    CaptureRig r;
    r.answer({Answer::No});
    r.session.reversePath();
    ASSERT_EQ(r.prompts().shown.size(), 1);
    expectShown(r.prompts().shown[0], S::reverseText, "Warning", Icon::Exclamation, Buttons::YesNo);
    EXPECT_EQ(S::reverseText, "Are you sure you want to reverse the path?");

    r.session.speedRes();
    r.placeAtMicrons(Position{1, 1, 1});
    r.session.position();
    r.session.pause();
    r.session.select(1);
    r.takeShown();
    const QString before = flagsOf(r.session);

    r.answer({Answer::No});
    r.session.reversePath();
    EXPECT_EQ(r.session.lines(), QStringList({"Low, 1000", "Move, 1, 1, 1", "Pause "}));

    r.answer({Answer::Yes});
    r.session.reversePath();
    EXPECT_EQ(r.session.lines(), QStringList({"Low, 1000", "Pause ", "Move, 1, 1, 1"}));
    EXPECT_EQ(flagsOf(r.session), before);
    EXPECT_EQ(r.session.selected(), -1);
    EXPECT_EQ(r.takeShown(), QStringList({S::reverseText, S::reverseText}));
}

// --- Load File and Save File --------------------------------------------------------

TEST(CaptureSessionLoad, CancelledChangesNothing)
{
    CaptureRig r;
    r.session.speedRes();
    r.saveAs(r.file("a.dat"));
    r.frame.state.path1File.clear();
    const QString before = flagsOf(r.session);
    r.session.loadFile();
    ASSERT_EQ(r.prompts().fileDialogs.size(), 2);
    EXPECT_EQ(r.prompts().fileDialogs[1].title, "Captured Commands");
    EXPECT_EQ(r.prompts().fileDialogs[1].filter, "Qx410 Files (*.dat);;All Files (*.*)");
    EXPECT_EQ(flagsOf(r.session), before);
    EXPECT_EQ(r.session.count(), 1);
    EXPECT_TRUE(r.frame.state.path1File.isEmpty());
    EXPECT_TRUE(r.prompts().shown.isEmpty());
}

TEST(CaptureSessionLoad, AppendsAtTheEndAndSetsThePathFileOfTheSelector)
{
    for (int selector : {1, 2}) {
        CaptureRig r;
        r.frame.state.pathSelector = selector;
        const QString name = r.file("p.dat");
        CaptureRig::writeFile(name, "High, 20\r\nMove, 1, 2, 3\r\n");
        r.session.pause();
        r.session.select(0);
        r.chooseFile(name);
        r.session.loadFile();
        EXPECT_EQ(r.session.lines(), QStringList({"Pause ", "High, 20", "Move, 1, 2, 3"}));
        EXPECT_EQ(r.session.selected(), 0);
        EXPECT_EQ(flagsOf(r.session), "saved0 loaded1 pause1 check1 count'3'");
        EXPECT_EQ(selector == 2 ? r.frame.state.path2File : r.frame.state.path1File, name);
        EXPECT_TRUE((selector == 2 ? r.frame.state.path1File : r.frame.state.path2File).isEmpty());
        EXPECT_TRUE(r.prompts().shown.isEmpty()) << "no question on the first load";
    }
}

TEST(CaptureSessionLoad, SecondLoadAsksBeforeAppending)
{
    CaptureRig r;
    const QString name = r.file("p.dat");
    CaptureRig::writeFile(name, "Low, 9\r\n");
    r.chooseFile(name);
    r.session.loadFile();
    r.saveAs(r.file("copy.dat"));
    ASSERT_TRUE(r.session.saved());

    r.chooseFile(name);
    r.answer({Answer::No});
    r.session.loadFile();
    ASSERT_EQ(r.prompts().shown.size(), 1);
    expectShown(r.prompts().shown[0], S::appendText, "Append", Icon::None, Buttons::YesNo);
    EXPECT_EQ(S::appendText, "Append the commands at the end?");
    EXPECT_EQ(r.session.lines(), QStringList({"Low, 9"}));
    EXPECT_EQ(flagsOf(r.session), "saved0 loaded1 pause0 check1 count'1'");

    r.chooseFile(name);
    r.answer({Answer::Yes});
    r.session.loadFile();
    EXPECT_EQ(r.session.lines(), QStringList({"Low, 9", "Low, 9"}));
}

TEST(CaptureSessionLoad, FileThatCannotBeOpenedWarnsAndSetsTheLoadedFlag)
{
    CaptureRig r;
    r.frame.state.path1File = "/earlier.dat";
    r.chooseFile(r.file("missing.dat"));
    r.session.loadFile();
    ASSERT_EQ(r.prompts().shown.size(), 1);
    expectShown(r.prompts().shown[0], S::cannotLoadText, "Warning", Icon::Exclamation, Buttons::Ok);
    EXPECT_EQ(S::cannotLoadText, "Can not load file, please check what is wrong!");
    EXPECT_EQ(flagsOf(r.session), "saved0 loaded1 pause0 check1 count'0'");
    EXPECT_EQ(r.frame.state.path1File, "/earlier.dat") << "set only when the file opened";
    r.takeShown();

    r.chooseFile(r.folder.path()); // a folder
    r.answer({Answer::Yes});
    r.session.loadFile();
    EXPECT_EQ(r.takeShown(), QStringList({S::appendText, S::cannotLoadText}));
    EXPECT_EQ(r.frame.state.path1File, "/earlier.dat");
}

TEST(CaptureSessionSave, MissingSpeedLineAnsweredYesDoesNothingAtAll)
{
    CaptureRig r;
    r.session.pause();
    r.answer({Answer::Yes});
    const QString before = flagsOf(r.session);
    r.session.saveFile();
    ASSERT_EQ(r.prompts().shown.size(), 1);
    expectShown(r.prompts().shown[0], S::noSpeedLineText, "Warning", Icon::Exclamation, Buttons::YesNo);
    EXPECT_TRUE(r.prompts().fileDialogs.isEmpty()) << "not even the file chooser";
    EXPECT_EQ(flagsOf(r.session), before);
}

TEST(CaptureSessionSave, WritesEveryLineWithCrLfAndSetsThePathFile)
{
    for (int selector : {1, 2}) {
        CaptureRig r;
        r.frame.state.pathSelector = selector;
        r.answer({Answer::Yes});
        r.placeAtMicrons(Position{1200, -350, 40});
        r.session.position();
        r.session.pause();
        const QString name = r.file("out.dat");
        r.saveAs(name);
        ASSERT_EQ(r.prompts().fileDialogs.size(), 1);
        EXPECT_EQ(r.prompts().fileDialogs[0].title, "Captured Commands");
        EXPECT_EQ(r.prompts().fileDialogs[0].filter, "Qx410 Files (*.dat);;All Files (*.*)");
        EXPECT_EQ(CaptureRig::contents(name), QByteArray("Low, 1000\r\nMove, 1200, -350, 40\r\nPause \r\n"));
        EXPECT_EQ(selector == 2 ? r.frame.state.path2File : r.frame.state.path1File, name);
        EXPECT_TRUE(r.session.saved());
        EXPECT_EQ(r.takeShown(), QStringList({S::noSpeedLineText})) << "only the Position question";
        EXPECT_TRUE(r.session.exit());
        EXPECT_TRUE(r.takeShown().isEmpty());
    }
}

TEST(CaptureSessionSave, WithoutSpeedLineAnsweredNoSavesAnyway)
{
    CaptureRig r;
    r.session.pause();
    r.answer({Answer::No});
    const QString name = r.file("p.dat");
    r.saveAs(name);
    EXPECT_EQ(CaptureRig::contents(name), QByteArray("Pause \r\n"));
    EXPECT_TRUE(r.session.saved());

    CaptureRig e; // an empty list has no speed line either
    e.answer({Answer::No});
    e.saveAs(e.file("empty.dat"));
    EXPECT_EQ(e.takeShown(), QStringList({S::noSpeedLineText}));
    EXPECT_EQ(CaptureRig::contents(e.file("empty.dat")), QByteArray());
}

TEST(CaptureSessionSave, CancelledOrUnwritableWarnsAndExitStillAsks)
{
    for (const char* where : {"", "no/such/folder/p.dat"}) {
        CaptureRig r;
        r.session.speedRes();
        r.frame.state.path1File = "/earlier.dat";
        r.saveAs(*where ? r.file(where) : QString());
        ASSERT_EQ(r.prompts().shown.size(), 1) << where;
        expectShown(r.prompts().shown[0], S::cannotWriteText, "Warning", Icon::Exclamation, Buttons::Ok);
        EXPECT_EQ(S::cannotWriteText,
                  "Can not open file to write, if you did not quit saving please check what is wrong!");
        EXPECT_FALSE(r.session.saved()) << "nothing was written: " << where;
        EXPECT_EQ(r.frame.state.path1File, "/earlier.dat");
        r.takeShown();

        r.answer({Answer::No});
        EXPECT_FALSE(r.session.exit());
        EXPECT_EQ(r.takeShown(), QStringList({S::quitText}));
        EXPECT_EQ(r.closed, 0);
    }
}

TEST(CaptureSessionSave, FailedSaveAfterASuccessfulOneKeepsTheSavedFlag)
{
    CaptureRig r;
    r.session.speedRes();
    r.saveAs(r.file("good.dat"));
    r.saveAs(QString()); // cancelled
    EXPECT_EQ(r.takeShown(), QStringList({S::cannotWriteText}));
    EXPECT_TRUE(r.session.saved()) << "the list is still in good.dat";
    EXPECT_EQ(r.frame.state.path1File, r.file("good.dat"));
}

TEST(CaptureSessionSave, WriteErrorAfterOpeningWarnsAndLeavesTheFlagClear)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    CaptureRig r;
    for (int i = 0; i < 2000; ++i)
        r.session.speedRes(); // more than any buffer holds
    r.saveAs("/dev/full");
    EXPECT_EQ(r.takeShown(), QStringList({S::cannotWriteText}));
    EXPECT_FALSE(r.session.saved());
    EXPECT_EQ(r.frame.state.path1File, "/dev/full") << "the file did open";
}

// --- Exit -----------------------------------------------------------------------------

TEST(CaptureSessionExit, EmptyListClosesWithoutAQuestion)
{
    CaptureRig r;
    EXPECT_TRUE(r.session.exit());
    EXPECT_TRUE(r.prompts().shown.isEmpty());
    EXPECT_EQ(r.closed, 1);
}

TEST(CaptureSessionExit, UnsavedLinesAskAndNoKeepsEverything)
{
    CaptureRig r;
    r.session.speedRes();
    r.answer({Answer::No});
    EXPECT_FALSE(r.session.exit());
    ASSERT_EQ(r.prompts().shown.size(), 1);
    expectShown(r.prompts().shown[0], S::quitText, "Doveza Ruzoradi", Icon::Exclamation, Buttons::YesNo);
    EXPECT_EQ(S::quitText, "Quit without saving data?");
    EXPECT_EQ(r.closed, 0);
    EXPECT_EQ(r.session.count(), 1);

    r.answer({Answer::Yes});
    EXPECT_TRUE(r.session.exit());
    EXPECT_EQ(r.closed, 1);
}

} // namespace
