#include "CommSetup.h"
#include "ScopedEnv.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SetupPrinting.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <gtest/gtest.h>

namespace {

const QString fakeCom3 = QStringLiteral("/tmp/qx410-fake-com3");

// Setup Communications over a real link to the simulated controller. COM1
// and COM3 map to known devices.
struct SetupFixture
{
    SetupFixture()
        : com1("QX410_COM1", "/tmp/qx410-fake-com1")
        , com3("QX410_COM3", fakeCom3.toUtf8())
        , port(controller, clock)
        , link(port, clock, prompts, settings)
        , setup(settings, link, prompts)
    {
    }

    // The port open as after start-up: COM1 at 9600.
    void openAtStart()
    {
        ASSERT_EQ(link.open(), SerialLink::OpenResult::Opened);
        ASSERT_EQ(port.openedDevices, QStringList{ QStringLiteral("/tmp/qx410-fake-com1") });
    }

    ScopedEnv com1;
    ScopedEnv com3;
    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings settings;
    SerialLink link;
    CommSetup setup;
};

void expectSettings(const SerialSettings& s, const char* portName, const char* baudText)
{
    EXPECT_EQ(s.portName, QString::fromLatin1(portName));
    EXPECT_EQ(s.baudText, QString::fromLatin1(baudText));
    EXPECT_EQ(s.framing, QString::fromLatin1(baudText) + QStringLiteral(",N,8,1"));
}

// OK with the port open, not in start-up mode.

TEST(CommSetupAccept, BaudOnlyKeepsThePortOpenAndAppliesTheNewRate)
{
    SetupFixture f;
    f.openAtStart();
    f.setup.accept({ 1, "19200" });
    expectSettings(f.settings, "COM1", "19200");
    EXPECT_EQ(f.port.openedDevices.size(), 1) << "the port must not be reopened";
    EXPECT_TRUE(f.link.isOpen());
    ASSERT_TRUE(f.port.settings);
    EXPECT_EQ(f.port.settings->baud, 19200);
    EXPECT_EQ(f.port.settings->parity, 'N');
    EXPECT_EQ(f.port.settings->dataBits, 8);
    EXPECT_EQ(f.port.settings->stopBits, 1);
    EXPECT_TRUE(f.prompts.shown.isEmpty());
    EXPECT_TRUE(f.prompts.endedWith.isEmpty());
}

TEST(CommSetupAccept, PortChangeReopensTheMappedDeviceAtTheNewRate)
{
    SetupFixture f;
    f.openAtStart();
    f.port.settings.reset();
    f.setup.accept({ 3, "4800" });
    expectSettings(f.settings, "COM3", "4800");
    EXPECT_EQ(f.port.openedDevices, QStringList({ QStringLiteral("/tmp/qx410-fake-com1"), fakeCom3 }));
    EXPECT_EQ(f.link.device(), fakeCom3);
    EXPECT_TRUE(f.link.isOpen());
    ASSERT_TRUE(f.port.settings);
    EXPECT_EQ(f.port.settings->baud, 4800);
    EXPECT_TRUE(f.prompts.shown.isEmpty());
    EXPECT_TRUE(f.prompts.endedWith.isEmpty());
}

TEST(CommSetupAccept, PortThatCannotBeOpenedWarnsAndEndsWithMinusOne)
{
    SetupFixture f;
    f.openAtStart();
    f.port.refuseOpen(QStringLiteral("No such file or directory"));
    f.setup.accept({ 3, "9600" });
    EXPECT_EQ(f.port.openedDevices.last(), fakeCom3);
    EXPECT_FALSE(f.link.isOpen());
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.prompts.shown[0].text, QStringLiteral("Cannot open serial port. Please check hardware."));
    EXPECT_EQ(f.prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Warning);
    EXPECT_EQ(f.prompts.shown[0].buttons, Prompts::Buttons::Ok);
    EXPECT_EQ(f.prompts.endedWith, QList<int>{ -1 });
}

TEST(CommSetupAccept, NothingChangedStillAppliesTheFraming)
{
    SetupFixture f;
    f.openAtStart();
    f.port.settings.reset();
    f.setup.accept(f.setup.current());
    expectSettings(f.settings, "COM1", "9600");
    EXPECT_EQ(f.port.openedDevices.size(), 1);
    ASSERT_TRUE(f.port.settings) << "the framing was not applied again";
    EXPECT_EQ(f.port.settings->baud, 9600);
    EXPECT_TRUE(f.prompts.shown.isEmpty());
}

TEST(CommSetupAccept, FramingThatCannotBeSetWarnsAndCarriesOn)
{
    SetupFixture f;
    f.openAtStart();
    f.port.refuseSettings(true);
    f.setup.accept({ 1, "2400" });
    expectSettings(f.settings, "COM1", "2400");
    ASSERT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.prompts.shown[0].text, QStringLiteral("Cannot set serial port properly. Please check hardware."));
    EXPECT_EQ(f.prompts.shown[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(f.prompts.shown[0].icon, Prompts::Icon::Warning);
    EXPECT_TRUE(f.prompts.endedWith.isEmpty());
    EXPECT_TRUE(f.link.isOpen());
}

TEST(CommSetupAccept, DeviceNamedOnTheCommandLineCountsAsAnotherPort)
{
    SetupFixture f;
    f.settings.portName = QStringLiteral("/dev/pts/9");
    ASSERT_EQ(f.link.open(), SerialLink::OpenResult::Opened);
    f.setup.accept({ 1, "9600" });
    expectSettings(f.settings, "COM1", "9600");
    EXPECT_EQ(f.port.openedDevices, QStringList({ QStringLiteral("/dev/pts/9"), QStringLiteral("/tmp/qx410-fake-com1") }));
    EXPECT_TRUE(f.link.isOpen());
}

TEST(CommSetupAccept, ChoiceOutOfRangeIsNormalized)
{
    SetupFixture f;
    f.openAtStart();
    f.setup.accept({ 7, "300" });
    expectSettings(f.settings, "COM1", "9600");
    EXPECT_EQ(f.port.openedDevices.size(), 1);
    EXPECT_TRUE(f.prompts.shown.isEmpty());
}

class CommSetupEveryBaud : public testing::TestWithParam<const char*>
{
};

TEST_P(CommSetupEveryBaud, ReachesThePort)
{
    SetupFixture f;
    f.openAtStart();
    const QString baud = QString::fromLatin1(GetParam());
    f.port.settings.reset();
    f.setup.accept({ 1, baud });
    expectSettings(f.settings, "COM1", GetParam());
    ASSERT_TRUE(f.port.settings);
    EXPECT_EQ(f.port.settings->baud, baud.toInt());
    EXPECT_TRUE(f.prompts.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rates, CommSetupEveryBaud, testing::Values("2400", "4800", "9600", "19200"));

// Start-up mode: no port is open yet; the caller opens it after OK.

TEST(CommSetupStartup, OkRecordsTheChoiceAndLeavesThePortAlone)
{
    SetupFixture f;
    f.settings.startupMode = true;
    f.setup.accept({ 3, "19200" });
    expectSettings(f.settings, "COM3", "19200");
    EXPECT_TRUE(f.settings.startupMode);
    EXPECT_TRUE(f.port.openedDevices.isEmpty());
    EXPECT_FALSE(f.port.settings);
    EXPECT_FALSE(f.link.isOpen());
    EXPECT_TRUE(f.prompts.shown.isEmpty());
    EXPECT_TRUE(f.prompts.endedWith.isEmpty());

    // What the caller does next opens the chosen device at the chosen rate.
    ASSERT_EQ(f.link.open(), SerialLink::OpenResult::Opened);
    EXPECT_EQ(f.port.openedDevices, QStringList{ fakeCom3 });
    EXPECT_EQ(f.port.settings->baud, 19200);
}

TEST(CommSetupStartup, CancelEndsWithMinusOneAndChangesNothing)
{
    SetupFixture f;
    f.settings.startupMode = true;
    f.settings.portName = QStringLiteral("COM2");
    f.settings.baudText = QStringLiteral("4800");
    f.settings.framing = QStringLiteral("4800,N,8,1");
    f.setup.reject();
    EXPECT_EQ(f.prompts.endedWith, QList<int>{ -1 });
    expectSettings(f.settings, "COM2", "4800");
    EXPECT_TRUE(f.prompts.shown.isEmpty());
    EXPECT_TRUE(f.port.openedDevices.isEmpty());
}

// Cancel with the port open.

TEST(CommSetupCancel, ChangesNothing)
{
    SetupFixture f;
    f.openAtStart();
    f.port.settings.reset();
    f.setup.reject();
    expectSettings(f.settings, "COM1", "9600");
    EXPECT_TRUE(f.link.isOpen());
    EXPECT_EQ(f.port.openedDevices.size(), 1);
    EXPECT_FALSE(f.port.settings) << "nothing may be applied to the port";
    EXPECT_TRUE(f.prompts.shown.isEmpty());
    EXPECT_TRUE(f.prompts.endedWith.isEmpty());
}

// run(): ask, then accept or reject.

TEST(CommSetupRun, AsksFromTheCurrentSettingsAndAppliesTheAnswer)
{
    SetupFixture f;
    f.settings.portName = QStringLiteral("COM3");
    f.settings.baudText = QStringLiteral("4800");
    f.settings.framing = QStringLiteral("4800,N,8,1");
    ASSERT_EQ(f.link.open(), SerialLink::OpenResult::Opened);

    std::optional<CommChoice> asked;
    EXPECT_TRUE(f.setup.run([&](const CommChoice& initial) -> std::optional<CommChoice> {
        asked = initial;
        return CommChoice{ 3, "2400" };
    }));
    EXPECT_EQ(asked, (CommChoice{ 3, "4800" }));
    expectSettings(f.settings, "COM3", "2400");
    EXPECT_EQ(f.port.openedDevices.size(), 1);
    EXPECT_EQ(f.port.settings->baud, 2400);
}

TEST(CommSetupRun, NoAnswerIsCancel)
{
    auto cancel = [](const CommChoice&) -> std::optional<CommChoice> { return std::nullopt; };
    {
        SetupFixture f;
        f.openAtStart();
        EXPECT_FALSE(f.setup.run(cancel));
        expectSettings(f.settings, "COM1", "9600");
        EXPECT_TRUE(f.prompts.endedWith.isEmpty());
        EXPECT_EQ(f.port.openedDevices.size(), 1);
    }
    {
        SetupFixture f;
        f.settings.startupMode = true;
        EXPECT_FALSE(f.setup.run(cancel));
        EXPECT_EQ(f.prompts.endedWith, QList<int>{ -1 });
        expectSettings(f.settings, "COM1", "9600");
    }
}

TEST(CommSetupRun, InStartupModeOkOnlyRecords)
{
    SetupFixture f;
    f.settings.startupMode = true;
    EXPECT_TRUE(f.setup.run([](const CommChoice&) { return std::optional<CommChoice>(CommChoice{ 4, "19200" }); }));
    expectSettings(f.settings, "COM4", "19200");
    EXPECT_TRUE(f.port.openedDevices.isEmpty());
    EXPECT_TRUE(f.prompts.endedWith.isEmpty());
}

} // namespace
