#include "CommSetup.h"
#include "PortPicker.h"
#include "ScopedEnv.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString ftdiById = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

QList<SerialDeviceInfo> twoDevices()
{
    return {{QStringLiteral("/dev/ttyS0"), QString(), QString(), QString(), QString()},
            {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
             QStringLiteral("A50285BI"), ftdiById}};
}

QStringList labels(const QList<PortPicker::Entry>& entries)
{
    QStringList out;
    for (const PortPicker::Entry& e : entries)
        out << e.label;
    return out;
}

TEST(PortPicker, OffersTheDefaultThenEveryDeviceByItsStableName)
{
    const PortPicker picker({}, twoDevices());
    const QList<PortPicker::Entry> entries = picker.entries(2);
    EXPECT_EQ(labels(entries), (QStringList{QStringLiteral("Default (/dev/ttyS1)"), QStringLiteral("/dev/ttyS0"),
                                            ftdiById + QStringLiteral("  (/dev/ttyUSB0)")}));
    EXPECT_EQ(entries[2].device, ftdiById);
    EXPECT_EQ(entries[2].detail, QStringLiteral("/dev/ttyUSB0, FT232R USB UART, FTDI, serial number A50285BI"));
    EXPECT_EQ(picker.selectedIndex(2), 0);
}

struct SelectCase
{
    const char* bound;
    int selected;        // index in the list
    int entryCount;      // the list's length
};

void PrintTo(const SelectCase& c, std::ostream* os)
{
    *os << "'" << c.bound << "'";
}

class PortPickerBound : public testing::TestWithParam<SelectCase>
{
};

TEST_P(PortPickerBound, SelectsWhatTheBindingNamesAndKeepsItsText)
{
    PortNames::Bindings bindings;
    bindings[0] = QString::fromLatin1(GetParam().bound);
    const PortPicker picker(bindings, twoDevices());
    EXPECT_EQ(picker.selectedIndex(1), GetParam().selected);
    EXPECT_EQ(picker.entries(1).size(), GetParam().entryCount);
    EXPECT_EQ(picker.bindings()[0], bindings[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Bindings, PortPickerBound,
    testing::Values(SelectCase{"", 0, 3},
                    SelectCase{"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", 2, 3},
                    SelectCase{"/dev/ttyUSB0", 2, 3}, // the same adapter by its system name
                    SelectCase{"/dev/serial/by-id/usb-Prolific-if00", 3, 4})); // unplugged: kept, last

TEST(PortPicker, UnpluggedBindingIsMarkedAndSurvivesARescan)
{
    PortNames::Bindings bindings;
    bindings[2] = QStringLiteral("/dev/serial/by-id/usb-Prolific-if00");
    PortPicker picker(bindings, {});
    EXPECT_EQ(picker.entries(3).last().label, QStringLiteral("/dev/serial/by-id/usb-Prolific-if00  (not connected)"));

    picker.setDevices({{QStringLiteral("/dev/ttyUSB1"), QString(), QString(), QString(),
                        QStringLiteral("/dev/serial/by-id/usb-Prolific-if00")}});
    EXPECT_EQ(picker.entries(3).size(), 2);
    EXPECT_EQ(picker.selectedIndex(3), 1);
    EXPECT_EQ(picker.bindings()[2], QStringLiteral("/dev/serial/by-id/usb-Prolific-if00"));
}

TEST(PortPicker, SelectingBindsAndTheDefaultUnbinds)
{
    PortPicker picker({}, twoDevices());
    picker.select(4, 2);
    EXPECT_EQ(picker.bindings()[3], ftdiById);
    EXPECT_EQ(picker.mapping(4).source, PortNames::Source::File);
    EXPECT_EQ(picker.mappingText(4), ftdiById);
    picker.select(4, 99); // out of range: no change
    EXPECT_EQ(picker.bindings()[3], ftdiById);
    picker.select(4, 0);
    EXPECT_TRUE(picker.bindings()[3].isEmpty());
    EXPECT_EQ(picker.mappingText(4), QStringLiteral("/dev/ttyS3"));
}

TEST(PortPicker, AVariableOverridesTheChoiceAndSaysSo)
{
    const ScopedEnv com2("QX410_COM2", "/dev/ttyUSB7");
    PortPicker picker({}, twoDevices());
    picker.select(2, 2);
    EXPECT_EQ(picker.mapping(2).device, QStringLiteral("/dev/ttyUSB7"));
    EXPECT_EQ(picker.mappingText(2), QStringLiteral("/dev/ttyUSB7  (QX410_COM2 overrides the choice)"));
}

TEST(SerialDevices, ByIdNamesAreTheLinksThatLeadToTheDevice)
{
    QTemporaryDir dir;
    const QString devices = dir.filePath(QStringLiteral("dev"));
    const QString byId = dir.filePath(QStringLiteral("by-id"));
    QDir().mkpath(devices);
    QDir().mkpath(byId);
    for (const char* name : {"ttyUSB0", "ttyUSB1"}) {
        QFile f(devices + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(QStringLiteral("../dev/ttyUSB1"), byId + QStringLiteral("/usb-Prolific-if00")));
    QList<SerialDeviceInfo> list{{devices + QStringLiteral("/ttyUSB0"), {}, {}, {}, {}},
                                 {devices + QStringLiteral("/ttyUSB1"), {}, {}, {}, {}}};
    SerialDevices::attachByIdNames(list, byId);
    EXPECT_TRUE(list[0].byIdPath.isEmpty());
    EXPECT_EQ(list[1].byIdPath, byId + QStringLiteral("/usb-Prolific-if00"));
    EXPECT_EQ(list[1].stableName(), list[1].byIdPath);
    EXPECT_TRUE(list[1].matches(devices + QStringLiteral("/ttyUSB1")));
}

// OK in Setup Communications with changed bindings.
struct BindingRig
{
    BindingRig()
        : port(controller, clock)
        , link(port, clock, prompts, settings)
        , setup(settings, link, prompts)
    {
        qunsetenv("QX410_COM1");
        setup.setSaveBindings([this](const PortNames::Bindings& b) {
            saved.append(b);
            return saveWorks;
        });
        EXPECT_EQ(link.open(), SerialLink::OpenResult::Opened);
    }

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings settings;
    SerialLink link;
    CommSetup setup;
    QList<PortNames::Bindings> saved;
    bool saveWorks = true;
};

TEST(CommSetupBindings, ANewDeviceForTheOpenPortIsSavedAndReopened)
{
    BindingRig rig;
    PortNames::Bindings bound;
    bound[0] = ftdiById;
    rig.setup.accept({1, "9600", bound});
    EXPECT_EQ(rig.settings.portBindings, bound);
    ASSERT_EQ(rig.saved.size(), 1);
    EXPECT_EQ(rig.port.openedDevices, (QStringList{QStringLiteral("/dev/ttyS0"), ftdiById}));
    EXPECT_TRUE(rig.prompts.shown.isEmpty());

    // Unchanged bindings are not written again, and the port stays open.
    rig.setup.accept({1, "9600", bound});
    EXPECT_EQ(rig.saved.size(), 1);
    EXPECT_EQ(rig.port.openedDevices.size(), 2);
}

TEST(CommSetupBindings, ASaveThatFailsWarnsAndTheBindingStillHolds)
{
    BindingRig rig;
    rig.saveWorks = false;
    PortNames::Bindings bound;
    bound[1] = QStringLiteral("/dev/ttyUSB3");
    rig.setup.accept({1, "9600", bound});
    ASSERT_EQ(rig.prompts.shown.size(), 1);
    EXPECT_EQ(rig.prompts.shown[0].text, CommSetup::bindingsNotSavedText);
    EXPECT_EQ(rig.settings.portBindings, bound);
    // COM1 still maps where it did: no reopen.
    EXPECT_EQ(rig.port.openedDevices.size(), 1);
}

} // namespace
