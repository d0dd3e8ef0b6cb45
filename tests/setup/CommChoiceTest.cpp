#include "CommChoice.h"
#include "SetupPrinting.h"

#include <gtest/gtest.h>

namespace {

SerialSettings settingsWith(const char* portName, const char* baudText)
{
    SerialSettings s;
    s.portName = QString::fromLatin1(portName);
    s.baudText = QString::fromLatin1(baudText);
    return s;
}

TEST(CommChoiceFromSettings, TakesPortNumberAndBaudText)
{
    EXPECT_EQ(CommChoice::fromSettings(settingsWith("COM1", "2400")), (CommChoice{ 1, "2400" }));
    EXPECT_EQ(CommChoice::fromSettings(settingsWith("COM2", "4800")), (CommChoice{ 2, "4800" }));
    EXPECT_EQ(CommChoice::fromSettings(settingsWith("COM3", "9600")), (CommChoice{ 3, "9600" }));
    EXPECT_EQ(CommChoice::fromSettings(settingsWith("COM4", "19200")), (CommChoice{ 4, "19200" }));
}

TEST(CommChoiceFromSettings, OtherPortNamesGivePortOne)
{
    for (const char* name : { "COM0", "COM5", "com2", "COM22", "/dev/pts/3", "" })
        EXPECT_EQ(CommChoice::fromSettings(settingsWith(name, "4800")), (CommChoice{ 1, "4800" })) << name;
}

TEST(CommChoiceFromSettings, OtherBaudRatesGive9600)
{
    for (const char* baud : { "300", "14400", "38400", "19200 ", "", "abc" })
        EXPECT_EQ(CommChoice::fromSettings(settingsWith("COM4", baud)), (CommChoice{ 4, "9600" })) << baud;
}

TEST(CommChoiceText, PortNameFramingAndRange)
{
    const CommChoice c{ 3, "19200" };
    EXPECT_EQ(c.portName(), QStringLiteral("COM3"));
    EXPECT_EQ(c.framing(), QStringLiteral("19200,N,8,1"));
    EXPECT_TRUE(c.isValid());
    EXPECT_EQ(CommChoice::baudTexts(), QStringList({ "2400", "4800", "9600", "19200" }));

    EXPECT_FALSE((CommChoice{ 0, "9600" }).isValid());
    EXPECT_FALSE((CommChoice{ 5, "9600" }).isValid());
    EXPECT_FALSE((CommChoice{ 2, "1200" }).isValid());
    EXPECT_EQ((CommChoice{ 5, "1200" }).normalized(), (CommChoice{ 1, "9600" }));
    EXPECT_EQ((CommChoice{ 2, "4800" }).normalized(), (CommChoice{ 2, "4800" }));
    EXPECT_EQ(CommChoice{}, (CommChoice{ 1, "9600" }));
}

} // namespace
