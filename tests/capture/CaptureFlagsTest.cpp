// The saved, loaded, last-was-Pause and speed-check flags and the count
// display through sequences of button presses with scripted answers. After
// every press the questions asked and the flags are compared.

#include "CaptureRig.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using S = CaptureSession;

struct Press
{
    const char* button;          // the button, as captioned
    std::vector<Answer> answers; // to the questions it asks, in order
    const char* file;            // the file chooser's answer: good, missing, out, cancel; or none
    const char* asked;           // the questions asked, '|' between them
    const char* after;           // flagsOf(), then whether the editor has closed
};

struct Sequence
{
    const char* name;
    std::vector<Press> presses;
};

std::ostream& operator<<(std::ostream& os, const Sequence& s)
{
    return os << s.name;
}

QString keyOf(const QString& text)
{
    static const std::map<QString, QString> keys{
        {S::noSpeedLineText, "speed"},  {S::settingsChangedText, "settings"}, {S::anotherStatusText, "another"},
        {S::clearText, "clear"},        {S::reverseText, "reverse"},          {S::appendText, "append"},
        {S::cannotLoadText, "load"},    {S::cannotWriteText, "write"},        {S::quitText, "quit"},
    };
    const auto it = keys.find(text);
    return it == keys.end() ? text : it->second;
}

class CaptureFlags : public testing::TestWithParam<Sequence>
{
};

TEST_P(CaptureFlags, FollowTheButtons)
{
    CaptureRig r;
    const QString good = r.file("good.dat");
    CaptureRig::writeFile(good, "High, 300\r\nMove, 1, 2, 3\r\nPause \r\n");
    int step = 0;
    for (const Press& p : GetParam().presses) {
        ++step;
        const QString press = QString::fromLatin1(p.button);
        for (Answer a : p.answers)
            r.answer({a});
        const QString file = QString::fromLatin1(p.file);
        if (file == "good")
            r.chooseFile(good);
        else if (file == "missing")
            r.chooseFile(r.file("missing.dat"));
        else if (file == "out")
            r.chooseFile(r.file("out.dat"));
        else if (file == "cancel")
            r.chooseFile(QString());

        if (press == "Position")
            r.session.position();
        else if (press == "Speed +Res")
            r.session.speedRes();
        else if (press == "Pause")
            r.session.pause();
        else if (press == "Parameters")
            r.session.parameters();
        else if (press == "Delete Item")
            r.session.deleteItem();
        else if (press == "Clear List")
            r.session.clearList();
        else if (press == "Reverse Path")
            r.session.reversePath();
        else if (press == "Load File")
            r.session.loadFile();
        else if (press == "Save File")
            r.session.saveFile();
        else if (press == "Exit")
            r.session.exit();
        else
            FAIL() << "no button " << p.button;

        QStringList asked;
        for (const QString& text : r.takeShown())
            asked << keyOf(text);
        SCOPED_TRACE(testing::Message() << "press " << step << ": " << p.button);
        EXPECT_EQ(asked.join('|'), QString::fromLatin1(p.asked));
        EXPECT_EQ(flagsOf(r.session) + QStringLiteral(" closed%1").arg(r.closed), QString::fromLatin1(p.after));
        EXPECT_TRUE(r.prompts().answers.empty()) << "every scripted answer was used";
        EXPECT_TRUE(r.prompts().fileNames.empty()) << "the file chooser was asked";
    }
}

const Answer Yes = Answer::Yes;
const Answer No = Answer::No;

INSTANTIATE_TEST_SUITE_P(
    Sequences, CaptureFlags,
    testing::Values(
        Sequence{"RecordSaveAndExit",
                 {
                     {"Position", {Yes}, "", "speed", "saved0 loaded0 pause0 check1 count'2' closed0"},
                     {"Pause", {}, "", "", "saved0 loaded0 pause1 check1 count'3' closed0"},
                     {"Pause", {}, "", "", "saved0 loaded0 pause1 check1 count'3' closed0"},
                     {"Position", {}, "", "", "saved0 loaded0 pause0 check0 count'4' closed0"},
                     {"Save File", {}, "out", "", "saved1 loaded0 pause0 check0 count'4' closed0"},
                     {"Reverse Path", {Yes}, "", "reverse", "saved1 loaded0 pause0 check0 count'4' closed0"},
                     {"Speed +Res", {}, "", "", "saved0 loaded0 pause0 check0 count'5' closed0"},
                     {"Save File", {}, "cancel", "write", "saved0 loaded0 pause0 check0 count'5' closed0"},
                     {"Exit", {No}, "", "quit", "saved0 loaded0 pause0 check0 count'5' closed0"},
                     {"Save File", {}, "out", "", "saved1 loaded0 pause0 check0 count'5' closed0"},
                     {"Exit", {}, "", "", "saved1 loaded0 pause0 check0 count'5' closed1"},
                 }},
        Sequence{"LoadThenDeleteEverything",
                 {
                     {"Load File", {}, "good", "", "saved0 loaded1 pause0 check1 count'3' closed0"},
                     {"Save File", {}, "out", "", "saved1 loaded1 pause0 check1 count'3' closed0"},
                     {"Delete Item", {}, "", "", "saved0 loaded1 pause0 check1 count'2' closed0"},
                     {"Pause", {}, "", "", "saved0 loaded1 pause1 check1 count'3' closed0"},
                     {"Delete Item", {}, "", "", "saved0 loaded1 pause0 check1 count'2' closed0"},
                     {"Delete Item", {}, "", "", "saved0 loaded1 pause0 check1 count'1' closed0"},
                     {"Delete Item", {}, "", "", "saved1 loaded1 pause0 check1 count'' closed0"},
                     {"Delete Item", {}, "", "", "saved1 loaded0 pause0 check1 count'' closed0"},
                     {"Exit", {}, "", "", "saved1 loaded0 pause0 check1 count'' closed1"},
                 }},
        Sequence{"LoadAppendAndClear",
                 {
                     {"Load File", {}, "missing", "load", "saved0 loaded1 pause0 check1 count'0' closed0"},
                     {"Load File", {}, "cancel", "", "saved0 loaded1 pause0 check1 count'0' closed0"},
                     {"Load File", {No}, "good", "append", "saved0 loaded1 pause0 check1 count'0' closed0"},
                     {"Load File", {Yes}, "good", "append", "saved0 loaded1 pause0 check1 count'3' closed0"},
                     {"Clear List", {No}, "", "clear", "saved0 loaded1 pause0 check1 count'3' closed0"},
                     {"Clear List", {Yes}, "", "clear", "saved0 loaded0 pause0 check1 count'' closed0"},
                     {"Clear List", {}, "", "", "saved0 loaded0 pause0 check1 count'' closed0"},
                     {"Load File", {}, "good", "", "saved0 loaded1 pause0 check1 count'3' closed0"},
                     {"Load File", {Yes}, "good", "append", "saved0 loaded1 pause0 check1 count'6' closed0"},
                     {"Exit", {Yes}, "", "quit", "saved0 loaded1 pause0 check1 count'6' closed1"},
                 }},
        Sequence{"StatusLinesAndTheSpeedCheck",
                 {
                     {"Parameters", {}, "", "", "saved0 loaded0 pause0 check1 count'1' closed0"},
                     {"Save File", {Yes}, "", "speed", "saved0 loaded0 pause0 check1 count'1' closed0"},
                     {"Save File", {No}, "out", "speed", "saved1 loaded0 pause0 check1 count'1' closed0"},
                     {"Parameters", {No}, "", "another", "saved0 loaded0 pause0 check1 count'1' closed0"},
                     {"Pause", {}, "", "", "saved0 loaded0 pause1 check1 count'2' closed0"},
                     {"Parameters", {Yes}, "", "another", "saved0 loaded0 pause0 check1 count'3' closed0"},
                     {"Position", {No}, "", "speed", "saved0 loaded0 pause0 check0 count'4' closed0"},
                     {"Position", {}, "", "", "saved0 loaded0 pause0 check0 count'5' closed0"},
                     {"Clear List", {Yes}, "", "clear", "saved0 loaded0 pause0 check1 count'' closed0"},
                     {"Speed +Res", {}, "", "", "saved0 loaded0 pause0 check1 count'1' closed0"},
                     {"Position", {}, "", "", "saved0 loaded0 pause0 check0 count'2' closed0"},
                     {"Exit", {No}, "", "quit", "saved0 loaded0 pause0 check0 count'2' closed0"},
                 }}),
    [](const testing::TestParamInfo<Sequence>& info) { return std::string(info.param.name); });

} // namespace
