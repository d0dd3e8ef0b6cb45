#include "ControlState.h"
#include "MainFrameState.h"
#include "Printing.h"
#include "ScriptedPrompts.h"
#include "SerialSettings.h"
#include "SettingsFile.h"
#include "SettingsLoader.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct Loader
{
    Loader()
        : loader(serial, state, control, prompts, [this] {
            ++asked;
            askedInStartupMode = serial.startupMode;
            serial.portName = QStringLiteral("COM2");
            serial.baudText = QStringLiteral("4800");
            serial.framing = QStringLiteral("4800,N,8,1");
            return answer;
        })
    {
    }

    std::string path() const { return (folder.path() / "Qx410.ini").string(); }
    void writeFile(const std::string& content) const { std::ofstream(path(), std::ios::binary) << content; }
    std::string readFile() const
    {
        std::ifstream in(path(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    TempFolder folder;
    SerialSettings serial;
    MainFrameState state;
    ControlState control;
    ScriptedPrompts prompts;
    bool answer = true;
    int asked = 0;
    bool askedInStartupMode = false;
    SettingsLoader loader;
};

TEST(SettingsLoader, ValidFileSetsPortFramingBaudAndTheWindowValues)
{
    Loader l;
    l.writeFile("COM3 1 2 3 4 5 6 7 8 9 10 11 12 -13 -14 -15 500 1021 250.5 19200,N,8,1");
    ASSERT_TRUE(l.loader.load(l.path()));
    EXPECT_EQ(l.asked, 0);
    EXPECT_EQ(l.serial.portName, QStringLiteral("COM3"));
    EXPECT_EQ(l.serial.framing, QStringLiteral("19200,N,8,1"));
    EXPECT_EQ(l.serial.baudText, QStringLiteral("19200"));
    EXPECT_EQ(l.state.stored[MainFrameState::Home], (Position{1, 2, 3}));
    EXPECT_EQ(l.state.stored[MainFrameState::Previous], (Position{-13, -14, -15}));
    EXPECT_EQ(l.control.velocity, 500);
    EXPECT_EQ(l.control.resolution, 1021);
    EXPECT_FLOAT_EQ(l.state.stepSize, 250.5f);
}

TEST(SettingsLoader, WithoutAUsableFileSetupAsksInStartupModeAndDefaultsFollow)
{
    for (const char* content : std::initializer_list<const char*>{"", "com1 0 0 0", "COM10 0", nullptr}) {
        Loader l;
        if (content)
            l.writeFile(content);
        l.control.velocity = 77;
        ASSERT_TRUE(l.loader.load(l.path()));
        EXPECT_EQ(l.asked, 1);
        EXPECT_TRUE(l.askedInStartupMode);
        EXPECT_FALSE(l.serial.startupMode);
        EXPECT_EQ(l.serial.portName, QStringLiteral("COM2"));
        EXPECT_EQ(l.control.velocity, 1000);
        EXPECT_EQ(l.control.resolution, ControlState::lowResolution);
        EXPECT_FLOAT_EQ(l.state.stepSize, 250.0f);
    }
}

TEST(SettingsLoader, CancelEndsTheProgramAndWritesNothing)
{
    Loader l;
    l.answer = false;
    EXPECT_FALSE(l.loader.load(l.path()));
    EXPECT_EQ(l.prompts.endedWith, QList<int>{-1});
    EXPECT_FALSE(std::filesystem::exists(l.path()));
}

TEST(SettingsLoader, ShutdownTakesTheStepSizeFromTheBoxText)
{
    const struct
    {
        const char* box;
        const char* stepToken;
    } cases[] = {{"250", " 250 "}, {"12abc", " 12 "}, {"abc", " 0 "}, {" -40", " -40 "}};
    for (const auto& c : cases) {
        Loader l;
        ASSERT_TRUE(l.loader.save(l.path(), QString::fromLatin1(c.box)));
        EXPECT_EQ(l.readFile(), std::string("COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019") + c.stepToken + "9600,N,8,1");
    }
}

TEST(SettingsLoader, FileThatCannotBeWrittenShowsIniWrong)
{
    Loader l;
    const std::string noFolder = (l.folder.path() / "missing" / "Qx410.ini").string();
    EXPECT_FALSE(l.loader.save(noFolder, QStringLiteral("10")));
    ASSERT_EQ(l.prompts.shown.size(), 1);
    EXPECT_EQ(l.prompts.shown[0].text, QStringLiteral("ini wrong"));
    EXPECT_EQ(l.prompts.shown[0].caption, QStringLiteral("Qx410"));
    EXPECT_EQ(l.prompts.shown[0].icon, Prompts::Icon::None);
    EXPECT_EQ(l.prompts.shown[0].buttons, Prompts::Buttons::Ok);
}

} // namespace
