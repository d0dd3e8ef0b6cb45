// Saves a picture of one of the setup dialogs, for the documentation:
//   qx410setupgrab OUTPUT.png [SCALE [DIALOG]]
// DIALOG is comm (Setup Communications, the default), velocity, resolution,
// hardware or limits (Travel Limits, with an example Z floor). Run by hand or by qx410pictures (tests/pictures), which
// checks its size. The port
// picker shows two example adapters rather than this machine's devices, with
// Com 1 bound to the first.

#include "CommSetupDialog.h"
#include "HardwareSetupDialog.h"
#include "ResolutionDialog.h"
#include "TravelLimitsDialog.h"
#include "TravelLimitsSetup.h"
#include "VelocityDialog.h"

#include "GrabTool.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>
#include <memory>

namespace {

std::unique_ptr<QDialog> makeDialog(const QString& name)
{
    if (name == QLatin1String("comm")) {
        const QString ftdi = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
        PortNames::Bindings bound;
        bound[0] = ftdi;
        const QList<SerialDeviceInfo> devices {
            { QStringLiteral("/dev/ttyS0"), QString(), QString(), QString(), QString() },
            { QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
              QStringLiteral("A50285BI"), ftdi },
            { QStringLiteral("/dev/ttyUSB1"), QStringLiteral("USB-Serial Controller"), QStringLiteral("Prolific"),
              QString(), QStringLiteral("/dev/serial/by-id/usb-Prolific_USB-Serial_Controller-if00-port0") },
        };
        return std::make_unique<CommSetupDialog>(CommChoice { 1, "9600", bound }, nullptr,
                                                 [devices] { return devices; });
    }
    if (name == QLatin1String("velocity"))
        return std::make_unique<VelocityDialog>(VelocityChoice { QStringLiteral("1000") });
    if (name == QLatin1String("resolution"))
        return std::make_unique<ResolutionDialog>(ResolutionChoice { false });
    if (name == QLatin1String("hardware"))
        return std::make_unique<HardwareSetupDialog>();
    if (name == QLatin1String("limits")) {
        TravelLimitsChoice limits;
        limits.fields[TravelLimitsChoice::field(0, true)] = QStringLiteral("-10000");
        limits.fields[TravelLimitsChoice::field(0, false)] = QStringLiteral("10000");
        limits.fields[TravelLimitsChoice::field(2, true)] = QStringLiteral("-5000");
        TravelLimitsDialog::Hooks hooks;
        hooks.check = [](const TravelLimitsChoice&) { return TravelLimitsSetup::withinText; };
        return std::make_unique<TravelLimitsDialog>(limits, hooks);
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410setupgrab OUTPUT.png [SCALE [comm|velocity|resolution|hardware|limits]]"))
        return 2;
    QApplication app(argc, argv);
    const QString name = argc >= 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("comm");
    const std::unique_ptr<QDialog> dialog = makeDialog(name);
    if (!dialog) {
        QTextStream(stderr) << "unknown dialog " << name << "\n";
        return 2;
    }
    dialog->show();
    QApplication::processEvents();
    return GrabTool::save(*dialog, argv[1]);
}
