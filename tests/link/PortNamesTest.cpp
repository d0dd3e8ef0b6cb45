#include "PortNames.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

// The variable wins over the bindings file, the file over the default.
struct OrderCase
{
    const char* variable; // QX410_COM2, nullptr: not set
    const char* bound;    // bound to COM2 in the file, "" none
    const char* device;
    PortNames::Source source;
};

void PrintTo(const OrderCase& c, std::ostream* os)
{
    *os << (c.variable ? c.variable : "(unset)") << " / '" << c.bound << "'";
}

class PortNamesOrder : public testing::TestWithParam<OrderCase>
{
};

TEST_P(PortNamesOrder, VariableThenFileThenDefault)
{
    const OrderCase& c = GetParam();
    if (c.variable)
        qputenv("QX410_COM2", c.variable);
    else
        qunsetenv("QX410_COM2");
    PortNames::Bindings bindings;
    bindings[1] = QString::fromLatin1(c.bound);
    bindings[0] = QStringLiteral("/dev/other");
    const PortNames::Mapping m = PortNames::resolve(QStringLiteral("COM2"), bindings);
    qunsetenv("QX410_COM2");
    EXPECT_EQ(m.device, QString::fromLatin1(c.device));
    EXPECT_EQ(m.source, c.source);
}

using S = PortNames::Source;
INSTANTIATE_TEST_SUITE_P(
    Cases, PortNamesOrder,
    testing::Values(OrderCase{"/dev/ttyUSB7", "/dev/serial/by-id/x", "/dev/ttyUSB7", S::Variable},
                    OrderCase{"/dev/ttyUSB7", "", "/dev/ttyUSB7", S::Variable},
                    OrderCase{nullptr, "/dev/serial/by-id/x", "/dev/serial/by-id/x", S::File},
                    OrderCase{"", "/dev/serial/by-id/x", "/dev/serial/by-id/x", S::File},
                    OrderCase{nullptr, "", "/dev/ttyS1", S::Default}));

TEST(PortNames, OtherNamesAreDevicesAsTheyStand)
{
    PortNames::Bindings bindings;
    bindings.fill(QStringLiteral("/dev/bound"));
    for (const char* name : {"/dev/ttyUSB0", "COM5", "com1"}) {
        const PortNames::Mapping m = PortNames::resolve(QString::fromLatin1(name), bindings);
        EXPECT_EQ(m.device, QString::fromLatin1(name));
        EXPECT_EQ(m.source, S::Direct);
    }
}

} // namespace
