#pragma once

#include "DefinePosition.h"
#include "DefinePositionResult.h"

#include <QDialog>
#include <array>

class QLineEdit;

// The Define Position dialog: X, Y and Z in micrometres in the "Position"
// group, "Get Current Position", OK and Cancel. It shows what its
// DefinePosition holds and hands the operator's texts to it; OK closes only
// when they pass the check, with the focus put on the field that failed
// otherwise. Cancel, Escape and the close box close without reading the
// fields. Made anew for each opening and shown modally.
//
// Children carry object names for tests: "positionGroup", "xEdit", "yEdit",
// "zEdit", "xLabel".."zLabel", "xUnit".."zUnit", "getCurrentGroup",
// "getCurrentButton", "okButton", "cancelButton".
class DefinePositionDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DefinePositionDialog(DefinePosition& definition, QWidget* parent = nullptr);

    QLineEdit* field(DefinePosition::Field field) const { return m_fields[static_cast<std::size_t>(field)]; }

    // Shows a new dialog for `definition` modally over parent; hands back its
    // result once it has closed, by either button.
    static DefinePositionResult askWithDialog(QWidget* parent, DefinePosition& definition);

private:
    void showHeld();
    void getCurrentPosition();
    void tryAccept();

    DefinePosition& m_definition;
    std::array<QLineEdit*, DefinePosition::FieldCount> m_fields{};
};
