#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;
class QWidget;

// What the Velocity and Resolution dialogs share: their group box with OK
// and Cancel stacked on its right, and a modal run that survives the parent
// going away while the dialog is up.
namespace SettingDialogs {

// Lays out `box` with OK above Cancel to its right; the dialog keeps a fixed size.
void layOut(QDialog* dialog, QWidget* box, QPushButton* ok, QPushButton* cancel);

// Runs a new dialog modally; true when it was accepted.
template <typename Dialog, typename... Args> bool runModal(Args&&... args)
{
    QPointer<Dialog> dialog = new Dialog(std::forward<Args>(args)...);
    const int result = dialog->exec();
    if (!dialog)
        return false;
    delete dialog;
    return result == QDialog::Accepted;
}

} // namespace SettingDialogs
