#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class QLineEdit;

// A small modal number dialog: a label above a one-line entry, OK (default)
// and Cancel. OK accepts only a whole number within the range; anything else
// gets the standard range message and the dialog stays open.
class NumberEntryDialog : public QDialog
{
    Q_OBJECT
public:
    NumberEntryDialog(const QString& title, const QString& label, int initial, int minimum, int maximum,
                      QWidget* parent = nullptr);

    // The standard range message, e.g. "Please enter an integer between 1 and 10."
    static QString rangeText(int minimum, int maximum);
    // The entry's number when it is a whole number within the range.
    std::optional<int> value() const;

    void accept() override;

    // Shows the range message (caption, text); a message box unless replaced.
    using Refusal = std::function<void(const QString& caption, const QString& text)>;
    void setRefusal(Refusal refusal) { m_refusal = std::move(refusal); }

    static std::optional<int> ask(QWidget* parent, const QString& title, const QString& label, int initial,
                                  int minimum, int maximum);

private:
    QLineEdit* m_entry = nullptr;
    int m_minimum;
    int m_maximum;
    Refusal m_refusal;
};
