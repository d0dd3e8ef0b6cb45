#include "ResolutionDialog.h"

#include "SettingDialogs.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

const QString ResolutionDialog::windowTitleText = QStringLiteral("Resolution");
const QString ResolutionDialog::highLabel = QStringLiteral("High - 0.04 \u00B5m");
const QString ResolutionDialog::lowLabel = QStringLiteral("Low  - 0.20 \u00B5m");
const QString ResolutionDialog::highToolTip = QStringLiteral("Step Size = High Resolution");
const QString ResolutionDialog::lowToolTip = QStringLiteral("Step Size = Low Resolution");

ResolutionDialog::ResolutionDialog(const ResolutionChoice& initial, Apply apply, QWidget* parent)
    : QDialog(parent)
    , m_apply(std::move(apply))
{
    setWindowTitle(windowTitleText);
    setModal(true);

    auto* box = new QGroupBox(QStringLiteral("Resolution"), this);
    m_high = new QRadioButton(highLabel, box);
    m_high->setObjectName(QStringLiteral("highRadio"));
    m_high->setToolTip(highToolTip);
    m_low = new QRadioButton(lowLabel, box);
    m_low->setObjectName(QStringLiteral("lowRadio"));
    m_low->setToolTip(lowToolTip);
    auto* group = new QButtonGroup(this);
    group->addButton(m_high);
    group->addButton(m_low);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(m_high);
    boxLayout->addWidget(m_low);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &ResolutionDialog::tryAccept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    SettingDialogs::layOut(this, box, okButton, cancelButton);

    (initial.high ? m_high : m_low)->setChecked(true);
    okButton->setFocus();
}

ResolutionChoice ResolutionDialog::choice() const
{
    return ResolutionChoice { m_high->isChecked() };
}

void ResolutionDialog::tryAccept()
{
    // The apply function may show a message box; the dialog may be gone
    // when it returns if its parent went away meanwhile.
    QPointer<ResolutionDialog> self(this);
    const bool applied = !m_apply || m_apply(choice());
    if (self && applied)
        accept();
}

bool ResolutionDialog::askWithDialog(QWidget* parent, const ResolutionChoice& initial, const Apply& apply)
{
    // Held by a guard: the parent may go away while the dialog is up.
    return SettingDialogs::runModal<ResolutionDialog>(initial, apply, parent);
}
