#pragma once

#include "VelocityChoice.h"

#include <QDialog>
#include <functional>

class QLineEdit;

// The Velocity dialog: one number entry in um/s. It only collects a
// VelocityChoice; OK hands it to the apply function given (normally
// VelocitySetup::accept), and the dialog closes only when that accepts it -
// a refused entry leaves the dialog open with the entry selected. Cancel is
// the default button, so Enter in the entry cancels; Escape and the close
// box cancel too. Made anew for each opening and shown modally.
//
// Children carry object names for tests: "velocityEntry", "unitLabel",
// "okButton", "cancelButton".
class VelocityDialog : public QDialog {
    Q_OBJECT

public:
    static const QString windowTitleText;
    using Apply = std::function<bool(const VelocityChoice&)>;

    // Without apply, OK closes the dialog at once.
    explicit VelocityDialog(const VelocityChoice& initial, Apply apply = {}, QWidget* parent = nullptr);

    // The entry as it stands.
    VelocityChoice choice() const;

    // Shows a new dialog modally over parent, applying each OK through
    // apply. True when it closed through an OK that apply accepted.
    static bool askWithDialog(QWidget* parent, const VelocityChoice& initial, const Apply& apply);

private:
    void tryAccept();

    Apply m_apply;
    QLineEdit* m_entry = nullptr;
};
