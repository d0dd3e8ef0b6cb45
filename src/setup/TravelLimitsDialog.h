#pragma once

#include "TravelLimitsChoice.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;

// Setup ▸ Travel Limits: per axis a lower and an upper field in
// micrometres (empty for none), each with "Set from current position", and a
// line under them that checks where the manipulator stands against the
// values shown, following every edit. It only collects a TravelLimitsChoice:
// the hooks (normally TravelLimitsSetup's) fill a field from the position,
// word the check line and apply OK; the dialog closes only when OK was
// applied, otherwise the field named is selected. Cancel, Escape and the
// close box change nothing. Made anew for each opening and shown modally.
//
// Children carry object names for tests: "field0" .. "field5" and
// "fromCurrent0" .. "fromCurrent5" (TravelLimitsChoice::field order),
// "checkLine", "okButton", "cancelButton".
class TravelLimitsDialog : public QDialog {
    Q_OBJECT

public:
    static const QString windowTitleText;
    static const QString fromCurrentText;

    struct Hooks {
        // OK: true when applied; otherwise *badField is the field to correct, or -1.
        std::function<bool(const TravelLimitsChoice&, int* badField)> apply;
        // "Set from current position": the text for the field, or nothing.
        std::function<std::optional<QString>(int field)> fromCurrent;
        // The check line for the values shown.
        std::function<QString(const TravelLimitsChoice&)> check;
    };

    explicit TravelLimitsDialog(const TravelLimitsChoice& initial, Hooks hooks = {}, QWidget* parent = nullptr);

    // The fields as they stand.
    TravelLimitsChoice choice() const;
    QString checkText() const;

    // Shows a new dialog modally over parent. True when it closed through an
    // OK that was applied.
    static bool askWithDialog(QWidget* parent, const TravelLimitsChoice& initial, const Hooks& hooks);

private:
    void tryAccept();
    void updateCheck();

    Hooks m_hooks;
    QLineEdit* m_fields[TravelLimitsChoice::fieldCount] = {};
    QLabel* m_check = nullptr;
};
