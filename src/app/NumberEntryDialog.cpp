#include "NumberEntryDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

NumberEntryDialog::NumberEntryDialog(const QString& title, const QString& label, int initial, int minimum,
                                     int maximum, QWidget* parent)
    : QDialog(parent)
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_refusal([this](const QString& caption, const QString& text) { QMessageBox::warning(this, caption, text); })
{
    setWindowTitle(title);
    m_entry = new QLineEdit(QString::number(initial));
    m_entry->setObjectName(QStringLiteral("number"));
    m_entry->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(label));
    layout->addWidget(m_entry);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &NumberEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString NumberEntryDialog::rangeText(int minimum, int maximum)
{
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(minimum).arg(maximum);
}

std::optional<int> NumberEntryDialog::value() const
{
    bool ok = false;
    const int n = m_entry->text().trimmed().toInt(&ok);
    if (!ok || n < m_minimum || n > m_maximum)
        return std::nullopt;
    return n;
}

void NumberEntryDialog::accept()
{
    if (!value()) {
        m_refusal(windowTitle(), rangeText(m_minimum, m_maximum));
        m_entry->setFocus();
        m_entry->selectAll();
        return;
    }
    QDialog::accept();
}

std::optional<int> NumberEntryDialog::ask(QWidget* parent, const QString& title, const QString& label, int initial,
                                          int minimum, int maximum)
{
    NumberEntryDialog dialog(title, label, initial, minimum, maximum, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.value();
}
