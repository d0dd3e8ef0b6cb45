// qx410ctl --json, ports and --trace against the in-process simulated controller.

#include "CtlFixture.h"
#include "JsonLine.h"
#include "PortsReport.h"
#include "Printing.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

// Every line of text parsed as a JSON object.
QList<QJsonObject> jsonObjects(const QString& text)
{
    QList<QJsonObject> list;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << qPrintable(line);
        EXPECT_TRUE(doc.isObject()) << qPrintable(line);
        list.append(doc.object());
    }
    return list;
}

TEST(CtlJson, PositionIsOneObjectInMicrometres)
{
    CtlFixture ctl;
    ctl.port.placeController(Position{25000, -13, 12});
    EXPECT_EQ(ctl.run({"--json", "--port", "/dev/sim", "position"}), 0);
    const QList<QJsonObject> objects = jsonObjects(ctl.outText);
    ASSERT_EQ(objects.size(), 1);
    EXPECT_EQ(objects[0], (QJsonObject{{"x", 1000}, {"y", -1}, {"z", 0}}));
    EXPECT_EQ(ctl.outText, QStringLiteral("{\"x\":1000,\"y\":-1,\"z\":0}\n"));
}

TEST(CtlJson, StatusAndMoveAreObjectsToo)
{
    CtlFixture ctl;
    EXPECT_EQ(ctl.run({"--json", "status"}), 0);
    EXPECT_EQ(jsonObjects(ctl.outText).at(0).value("status").toArray().size(), 19);

    CtlFixture moved;
    EXPECT_EQ(moved.run({"--json", "move", "--", "-1", "0", "1000"}), 0);
    EXPECT_EQ(jsonObjects(moved.outText), (QList<QJsonObject>{{{"x", -1}, {"y", 0}, {"z", 1000}}}));
}

TEST(CtlJson, ErrorsStayOnStandardErrorWithTheSameStatus)
{
    qx410sim::Faults silent;
    silent.silent = true;
    for (const bool json : {false, true}) {
        CtlFixture ctl(silent);
        QStringList words{QStringLiteral("position")};
        if (json)
            words.prepend(QStringLiteral("--json"));
        EXPECT_EQ(ctl.run(words), 3) << json;
        EXPECT_TRUE(ctl.outText.isEmpty());
        EXPECT_TRUE(ctl.errText.startsWith(QStringLiteral("qx410ctl: position: no answer"))) << qPrintable(ctl.errText);
    }
}

TEST(CtlPorts, EachNameWithItsDeviceAndWhyThenTheSystemDevices)
{
    qputenv("QX410_COM2", "/dev/ttyUSB7");
    for (const char* name : {"QX410_COM1", "QX410_COM3", "QX410_COM4"})
        qunsetenv(name);
    PortNames::Bindings bindings;
    bindings[2] = QStringLiteral("/dev/serial/by-id/usb-FTDI-if00-port0");
    bindings[1] = QStringLiteral("/dev/ttyUSB1"); // overridden by the variable
    const QList<SerialDeviceInfo> devices{{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"),
                                           QStringLiteral("FTDI"), QStringLiteral("A50285BI"),
                                           QStringLiteral("/dev/serial/by-id/usb-FTDI-if00-port0")}};
    QString text;
    QTextStream out(&text);
    PortsReport::print(out, false, bindings, devices);
    out.flush();
    EXPECT_EQ(text, QStringLiteral("COM1 /dev/ttyS0 (default)\n"
                                   "COM2 /dev/ttyUSB7 (variable QX410_COM2)\n"
                                   "COM3 /dev/serial/by-id/usb-FTDI-if00-port0 (file Qx410.ports)\n"
                                   "COM4 /dev/ttyS3 (default)\n"
                                   "Serial devices:\n"
                                   "  /dev/ttyUSB0 = /dev/serial/by-id/usb-FTDI-if00-port0, FT232R USB UART, FTDI, "
                                   "serial A50285BI\n"));

    QString json;
    QTextStream jsonOut(&json);
    PortsReport::print(jsonOut, true, bindings, devices);
    jsonOut.flush();
    const QStringList lines = json.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    const QJsonObject com2 = QJsonDocument::fromJson(lines[1].toUtf8()).object();
    EXPECT_EQ(com2, (QJsonObject{{"com", "COM2"}, {"device", "/dev/ttyUSB7"}, {"source", "variable"}}));
    EXPECT_EQ(QJsonDocument::fromJson(lines[4].toUtf8()).object().value("serialNumber").toString(),
              QStringLiteral("A50285BI"));
    qunsetenv("QX410_COM2");
}

TEST(CtlTrace, WritesTheExchangeToTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trace.txt"));
    CtlFixture ctl;
    EXPECT_EQ(ctl.run({"--trace", path, "position"}), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("\tsent\t63 0D\tposition query"))) << qPrintable(lines[0]);
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\treceived\t"))) << qPrintable(lines[1]);

    CtlFixture unwritable;
    EXPECT_EQ(unwritable.run({"--trace", dir.filePath(QStringLiteral("no/such/trace.txt")), "position"}), 2);
    EXPECT_TRUE(unwritable.port.openedDevices.isEmpty());
}

} // namespace
