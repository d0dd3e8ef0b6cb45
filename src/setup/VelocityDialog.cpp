#include "VelocityDialog.h"

#include "SettingDialogs.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

const QString VelocityDialog::windowTitleText = QStringLiteral("   Velocity");

VelocityDialog::VelocityDialog(const VelocityChoice& initial, Apply apply, QWidget* parent)
    : QDialog(parent)
    , m_apply(std::move(apply))
{
    setWindowTitle(windowTitleText);
    setModal(true);

    auto* box = new QGroupBox(QStringLiteral("Velocity"), this);
    m_entry = new QLineEdit(initial.entry, box);
    m_entry->setObjectName(QStringLiteral("velocityEntry"));
    m_entry->setAlignment(Qt::AlignRight);
    // Room for a handful of digits; longer text is still refused on OK.
    m_entry->setMaxLength(32);
    m_entry->setMinimumWidth(m_entry->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    auto* unit = new QLabel(QStringLiteral("\u00B5m/sec"), box);
    unit->setObjectName(QStringLiteral("unitLabel"));
    unit->setBuddy(m_entry);
    auto* boxLayout = new QHBoxLayout(box);
    boxLayout->addWidget(m_entry, 1);
    boxLayout->addWidget(unit);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &VelocityDialog::tryAccept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    SettingDialogs::layOut(this, box, okButton, cancelButton);

    m_entry->setFocus();
    m_entry->selectAll();
}

VelocityChoice VelocityDialog::choice() const
{
    return VelocityChoice { m_entry->text() };
}

void VelocityDialog::tryAccept()
{
    // The apply function may show a message box; the dialog may be gone
    // when it returns if its parent went away meanwhile.
    QPointer<VelocityDialog> self(this);
    const bool applied = !m_apply || m_apply(choice());
    if (!self)
        return;
    if (applied) {
        accept();
        return;
    }
    m_entry->setFocus();
    m_entry->selectAll();
}

bool VelocityDialog::askWithDialog(QWidget* parent, const VelocityChoice& initial, const Apply& apply)
{
    // Held by a guard: the parent may go away while the dialog is up.
    return SettingDialogs::runModal<VelocityDialog>(initial, apply, parent);
}
