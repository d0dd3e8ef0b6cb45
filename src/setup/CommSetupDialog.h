#pragma once

#include "CommChoice.h"
#include "PortPicker.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QShowEvent;

// Setup Communications: the serial port (Com 1 .. Com 4, each with a list to
// bind it to one of the system's serial devices, the device its name maps to
// beside it, and Rescan for adapters plugged in meanwhile) and the baud rate.
// The lists follow PortPicker. It only collects a CommChoice; the
// caller applies it (see CommSetup). OK is the default button; Escape and the
// close box act as Cancel. Made anew for each opening and shown modally.
//
// Children carry object names for tests: "com1Radio".."com4Radio",
// "com1Device".."com4Device", "com1Binding".."com4Binding", "rescanButton",
// "baud2400Radio".."baud19200Radio",
// "okButton", "cancelButton", "connectorPicture", "controllerPicture".
class CommSetupDialog : public QDialog
{
    Q_OBJECT

public:
    static const QString windowTitleText;

    // The serial devices the system has; SerialDevices::scan when not given.
    using DeviceLister = std::function<QList<SerialDeviceInfo>()>;

    explicit CommSetupDialog(const CommChoice& initial, QWidget* parent = nullptr, DeviceLister lister = {});

    // The port and baud rate whose buttons are checked, and the bindings.
    CommChoice choice() const;

    // Shows a new dialog modally over parent. Nothing on Cancel.
    static std::optional<CommChoice> askWithDialog(QWidget* parent, const CommChoice& initial);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void renderPictures();
    void rescan();
    void fillBindingLists();
    void showMappings();

    DeviceLister m_lister;
    PortPicker m_picker;
    std::array<QComboBox*, CommChoice::portCount> m_bindingLists{};
    std::array<QLabel*, CommChoice::portCount> m_deviceLabels{};
    QButtonGroup* m_portGroup = nullptr;
    QButtonGroup* m_baudGroup = nullptr;
    QLabel* m_connectorPicture = nullptr;
    QLabel* m_controllerPicture = nullptr;
    qreal m_picturesRatio = 0;
};
