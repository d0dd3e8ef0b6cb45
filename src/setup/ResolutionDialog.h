#pragma once

#include "ResolutionChoice.h"

#include <QDialog>
#include <functional>

class QRadioButton;

// The Resolution dialog: high (0.04 um steps) or low (0.20 um steps), each
// radio button with its tooltip. It only collects a ResolutionChoice; OK
// hands it to the apply function given (normally ResolutionSetup::accept),
// and the dialog closes only when that accepts it. OK is the default button;
// Cancel, Escape and the close box close without applying anything. Made
// anew for each opening and shown modally.
//
// Children carry object names for tests: "highRadio", "lowRadio",
// "okButton", "cancelButton".
class ResolutionDialog : public QDialog {
    Q_OBJECT

public:
    static const QString windowTitleText;
    static const QString highLabel;
    static const QString lowLabel;
    static const QString highToolTip;
    static const QString lowToolTip;
    using Apply = std::function<bool(const ResolutionChoice&)>;

    // Without apply, OK closes the dialog at once.
    explicit ResolutionDialog(const ResolutionChoice& initial, Apply apply = {}, QWidget* parent = nullptr);

    // The resolution whose button is checked.
    ResolutionChoice choice() const;

    // Shows a new dialog modally over parent, applying each OK through
    // apply. True when it closed through an OK that apply accepted.
    static bool askWithDialog(QWidget* parent, const ResolutionChoice& initial, const Apply& apply);

private:
    void tryAccept();

    Apply m_apply;
    QRadioButton* m_high = nullptr;
    QRadioButton* m_low = nullptr;
};
