#pragma once

#include "CommChoice.h"

#include <QDialog>
#include <optional>

class QButtonGroup;
class QLabel;
class QShowEvent;

// Setup Communications: the serial port (Com 1 .. Com 4, each with the device
// its name maps to) and the baud rate. It only collects a CommChoice; the
// caller applies it (see CommSetup). OK is the default button; Escape and the
// close box act as Cancel. Made anew for each opening and shown modally.
//
// Children carry object names for tests: "com1Radio".."com4Radio",
// "com1Device".."com4Device", "baud2400Radio".."baud19200Radio",
// "okButton", "cancelButton", "connectorPicture", "controllerPicture".
class CommSetupDialog : public QDialog
{
    Q_OBJECT

public:
    static const QString windowTitleText;

    explicit CommSetupDialog(const CommChoice& initial, QWidget* parent = nullptr);

    // The port and baud rate whose buttons are checked.
    CommChoice choice() const;

    // Shows a new dialog modally over parent. Nothing on Cancel.
    static std::optional<CommChoice> askWithDialog(QWidget* parent, const CommChoice& initial);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void renderPictures();

    QButtonGroup* m_portGroup = nullptr;
    QButtonGroup* m_baudGroup = nullptr;
    QLabel* m_connectorPicture = nullptr;
    QLabel* m_controllerPicture = nullptr;
    qreal m_picturesRatio = 0;
};
