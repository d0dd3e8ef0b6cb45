#include "CommSetupDialog.h"
#include "PortNames.h"
#include "ScopedEnv.h"
#include "SetupPictures.h"
#include "SetupPrinting.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "WidgetProbe.h"

#include <gtest/gtest.h>

#include <QComboBox>

namespace {

using WidgetProbe::child;
using WidgetProbe::groupTitle;
using WidgetProbe::toolTipShownOver;

const QStringList portCaptions{ "Com 1", "Com 2", "Com 3", "Com 4" };
const QStringList baudCaptions{ "2400", "4800", "9600", "19200" };

QRadioButton* radio(const QDialog& dialog, const QString& caption)
{
    QRadioButton* found = nullptr;
    for (QRadioButton* r : dialog.findChildren<QRadioButton*>()) {
        if (r->text() == caption) {
            EXPECT_EQ(found, nullptr) << "two buttons read " << caption.toStdString();
            found = r;
        }
    }
    EXPECT_NE(found, nullptr) << "no button reads " << caption.toStdString();
    return found;
}

QPushButton* button(const QDialog& dialog, const QString& caption)
{
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == caption)
            return b;
    ADD_FAILURE() << "no push button reads " << caption.toStdString();
    return nullptr;
}

QStringList checkedCaptions(const QDialog& dialog)
{
    QStringList out;
    for (QRadioButton* r : dialog.findChildren<QRadioButton*>())
        if (r->isChecked())
            out << r->text();
    out.sort();
    return out;
}

// Something drawn: at least a few pixels that are not fully transparent.
int paintedPixels(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    return painted;
}

TEST(CommSetupDialogLook, TitleCaptionsAndButtons)
{
    CommSetupDialog dialog(CommChoice{});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("  Setup Communications"));
    EXPECT_TRUE(dialog.isModal());

    QStringList captions;
    for (QRadioButton* r : dialog.findChildren<QRadioButton*>())
        captions << r->text();
    captions.sort();
    QStringList expected = portCaptions + baudCaptions;
    expected.sort();
    EXPECT_EQ(captions, expected);

    for (const QString& c : portCaptions)
        EXPECT_EQ(groupTitle(radio(dialog, c)), QStringLiteral("Serial Port")) << c.toStdString();
    for (const QString& c : baudCaptions)
        EXPECT_EQ(groupTitle(radio(dialog, c)), QStringLiteral("Baud Rate")) << c.toStdString();

    QStringList pushCaptions;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        pushCaptions << b->text();
    pushCaptions.sort();
    EXPECT_EQ(pushCaptions, QStringList({ "Cancel", "OK", "Rescan" }));
    EXPECT_TRUE(button(dialog, "OK")->isDefault());
    EXPECT_FALSE(button(dialog, "Cancel")->isDefault());
}

TEST(CommSetupDialogLook, DeviceBesideEachPort)
{
    const ScopedEnv com2("QX410_COM2", "/tmp/qx410-fake-com2");
    CommSetupDialog dialog(CommChoice{});
    for (int n = 1; n <= 4; ++n) {
        const auto* label = dialog.findChild<QLabel*>(QStringLiteral("com%1Device").arg(n));
        ASSERT_NE(label, nullptr) << n;
        EXPECT_TRUE(label->text().startsWith(PortNames::deviceFor(QStringLiteral("COM%1").arg(n)))) << n;
        EXPECT_EQ(groupTitle(label), QStringLiteral("Serial Port"));
    }
    EXPECT_EQ(dialog.findChild<QLabel*>("com2Device")->text(),
              QStringLiteral("/tmp/qx410-fake-com2  (QX410_COM2 overrides the choice)"));
    EXPECT_EQ(dialog.findChild<QRadioButton*>("com2Radio")->text(), QStringLiteral("Com 2"));
}

TEST(CommSetupDialogLook, PicturesAreDrawnAtTheScreenRatio)
{
    CommSetupDialog dialog(CommChoice{});
    for (const char* name : { "connectorPicture", "controllerPicture" }) {
        const auto* label = dialog.findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        const QPixmap pixmap = label->pixmap();
        ASSERT_FALSE(pixmap.isNull()) << name;
        EXPECT_EQ(pixmap.devicePixelRatio(), dialog.devicePixelRatioF()) << name;
        EXPECT_GT(paintedPixels(pixmap), 200) << name;
    }

    for (qreal ratio : { 1.0, 1.5, 2.0 }) {
        const QPixmap connector = SetupPictures::connector(ratio);
        const QPixmap controller = SetupPictures::controller(ratio);
        EXPECT_EQ(connector.deviceIndependentSize(), QSizeF(SetupPictures::connectorSize())) << ratio;
        EXPECT_EQ(controller.deviceIndependentSize(), QSizeF(SetupPictures::controllerSize())) << ratio;
        EXPECT_EQ(connector.width(), qRound(SetupPictures::connectorSize().width() * ratio)) << ratio;
        EXPECT_GT(paintedPixels(connector), 0);
        EXPECT_GT(paintedPixels(controller), 0);
        // The corners stay transparent: the pictures sit on any background.
        EXPECT_EQ(qAlpha(connector.toImage().pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(controller.toImage().pixel(controller.width() - 1, 0)), 0);
    }
}

class CommSetupDialogInitial : public testing::TestWithParam<CommChoice>
{
};

TEST_P(CommSetupDialogInitial, ChecksTheChoiceItStartsFrom)
{
    const CommChoice initial = GetParam();
    CommSetupDialog dialog(initial);
    QStringList expected{ QStringLiteral("Com %1").arg(initial.port), initial.baudText };
    expected.sort();
    EXPECT_EQ(checkedCaptions(dialog), expected);
    EXPECT_EQ(dialog.choice(), initial);
}

INSTANTIATE_TEST_SUITE_P(Choices, CommSetupDialogInitial,
                         testing::Values(CommChoice{ 1, "2400" }, CommChoice{ 2, "4800" }, CommChoice{ 3, "9600" },
                                         CommChoice{ 4, "19200" }, CommChoice{ 4, "2400" }));

TEST(CommSetupDialogChoice, ChoiceOutOfRangeStartsFromPortOneAt9600)
{
    CommSetupDialog dialog(CommChoice{ 9, "1200" });
    EXPECT_EQ(checkedCaptions(dialog), QStringList({ "9600", "Com 1" }));
    EXPECT_EQ(dialog.choice(), (CommChoice{ 1, "9600" }));
}

TEST(CommSetupDialogChoice, FollowsClicksOnTheButtons)
{
    CommSetupDialog dialog(CommChoice{ 1, "9600" });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(radio(dialog, "Com 3"), Qt::LeftButton);
    EXPECT_EQ(dialog.choice(), (CommChoice{ 3, "9600" }));
    QTest::mouseClick(radio(dialog, "19200"), Qt::LeftButton);
    EXPECT_EQ(dialog.choice(), (CommChoice{ 3, "19200" }));
    QTest::mouseClick(radio(dialog, "Com 4"), Qt::LeftButton);
    QTest::mouseClick(radio(dialog, "2400"), Qt::LeftButton);
    EXPECT_EQ(dialog.choice(), (CommChoice{ 4, "2400" }));
    // One port and one rate at a time.
    EXPECT_EQ(checkedCaptions(dialog), QStringList({ "2400", "Com 4" }));

    radio(dialog, "Com 2")->setChecked(true);
    radio(dialog, "4800")->setChecked(true);
    EXPECT_EQ(dialog.choice(), (CommChoice{ 2, "4800" }));
    EXPECT_EQ(checkedCaptions(dialog), QStringList({ "4800", "Com 2" }));
    dialog.hide();
}

TEST(CommSetupDialogClose, OkAcceptsEscapeAndCloseBoxReject)
{
    {
        CommSetupDialog dialog(CommChoice{});
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(button(dialog, "OK"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
    }
    {
        CommSetupDialog dialog(CommChoice{});
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << "Enter presses the default button";
    }
    {
        CommSetupDialog dialog(CommChoice{});
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(button(dialog, "Cancel"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
    }
    {
        CommSetupDialog dialog(CommChoice{});
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(rejected.count(), 1);
        EXPECT_FALSE(dialog.isVisible());
    }
    {
        CommSetupDialog dialog(CommChoice{});
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        EXPECT_TRUE(dialog.close());
        EXPECT_EQ(rejected.count(), 1);
    }
}

// askWithDialog runs the real modal loop; a timer plays the operator. A
// second timer closes any dialog left up, so that a fault fails the test
// instead of hanging it.
std::optional<CommChoice> askAndAnswer(const CommChoice& initial, const std::function<void(CommSetupDialog&)>& operatorDoes,
                                       CommChoice* shownWith = nullptr)
{
    bool played = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CommSetupDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        played = true;
        if (shownWith)
            *shownWith = dialog->choice();
        operatorDoes(*dialog);
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    safety.start(5000);
    const std::optional<CommChoice> answer = CommSetupDialog::askWithDialog(nullptr, initial);
    EXPECT_TRUE(played) << "the dialog was not shown modally";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    return answer;
}

TEST(CommSetupDialogAsk, OkGivesTheCheckedChoiceCancelGivesNothing)
{
    CommChoice shownWith;
    EXPECT_EQ(askAndAnswer(
                  CommChoice{ 2, "4800" },
                  [](CommSetupDialog& d) {
                      radio(d, "Com 4")->setChecked(true);
                      radio(d, "19200")->setChecked(true);
                      QTest::mouseClick(button(d, "OK"), Qt::LeftButton);
                  },
                  &shownWith),
              (CommChoice{ 4, "19200" }));
    EXPECT_EQ(shownWith, (CommChoice{ 2, "4800" }));

    EXPECT_EQ(askAndAnswer(CommChoice{ 2, "4800" },
                           [](CommSetupDialog& d) {
                               radio(d, "Com 3")->setChecked(true);
                               QTest::keyClick(&d, Qt::Key_Escape);
                           }),
              std::nullopt);
    EXPECT_EQ(askAndAnswer(CommChoice{ 2, "4800" }, [](CommSetupDialog& d) { d.close(); }), std::nullopt);
}

} // namespace

TEST(CommSetupDialogPicker, RescanFindsANewAdapterAndItsChoiceIsHandedBack)
{
    QList<SerialDeviceInfo> devices;
    CommSetupDialog dialog(CommChoice{}, nullptr, [&devices] { return devices; });
    auto* list = dialog.findChild<QComboBox*>(QStringLiteral("com3Binding"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 1); // the default only

    devices.append({QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
                    QStringLiteral("A50285BI"), QStringLiteral("/dev/serial/by-id/usb-FTDI-if00-port0")});
    dialog.findChild<QPushButton*>(QStringLiteral("rescanButton"))->click();
    ASSERT_EQ(list->count(), 2);
    list->setCurrentIndex(1);
    emit list->activated(1);
    EXPECT_EQ(dialog.choice().bindings[2], QStringLiteral("/dev/serial/by-id/usb-FTDI-if00-port0"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("com3Device"))->text(),
              QStringLiteral("/dev/serial/by-id/usb-FTDI-if00-port0"));
}
