#pragma once

#include <QColor>
#include <QDialog>

class HardwareSetup;

// Hardware Setup: Reset (group "Controller") and Set (group "Origin"), each
// with its tooltip, the warning to consult the manual in dark red on light
// grey, and Exit. The buttons only announce themselves (resetClicked,
// setClicked); showModal() binds them to a HardwareSetup, which asks and
// sends. Exit, Escape and the close box close the dialog. Made anew for
// each opening and shown modally.
//
// Children carry object names for tests: "resetButton", "setButton",
// "warningText", "exitButton".
class HardwareSetupDialog : public QDialog {
    Q_OBJECT

public:
    static const QString windowTitleText;
    static const QString warningText;
    static const QColor warningTextColour; // red 128, green 0, blue 0
    static const QColor warningBackColour; // red 192, green 192, blue 192

    explicit HardwareSetupDialog(QWidget* parent = nullptr);

    // Shows a new dialog modally over parent; Reset and Set go to setup.
    static void showModal(QWidget* parent, HardwareSetup& setup);

signals:
    void resetClicked();
    void setClicked();
};
