#include "TravelLimitsDialog.h"

#include "SettingDialogs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

const QString TravelLimitsDialog::windowTitleText = QStringLiteral("Travel Limits");
const QString TravelLimitsDialog::fromCurrentText = QStringLiteral("Set from current position");

namespace {
const char* const kAxes[] = { "X", "Y", "Z" };
} // namespace

TravelLimitsDialog::TravelLimitsDialog(const TravelLimitsChoice& initial, Hooks hooks, QWidget* parent)
    : QDialog(parent)
    , m_hooks(std::move(hooks))
{
    setWindowTitle(windowTitleText);
    setModal(true);

    auto* box = new QGroupBox(QStringLiteral("Travel limits (empty: none)"), this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("Lower limit"), box), 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Upper limit"), box), 0, 5, 1, 3);
    grid->setColumnMinimumWidth(4, 12);
    const int digits = fontMetrics().horizontalAdvance(QStringLiteral("-00000000.00")) + 16;
    for (int axis = 0; axis < 3; ++axis) {
        grid->addWidget(new QLabel(QString::fromLatin1(kAxes[axis]), box), axis + 1, 0);
        for (const bool lower : { true, false }) {
            const int f = TravelLimitsChoice::field(axis, lower);
            const int column = lower ? 1 : 5;
            auto* field = new QLineEdit(initial.fields[static_cast<std::size_t>(f)], box);
            field->setObjectName(QStringLiteral("field%1").arg(f));
            field->setAlignment(Qt::AlignRight);
            field->setMaxLength(32);
            field->setMinimumWidth(digits);
            if (axis == 2 && lower)
                field->setToolTip(QStringLiteral("Z floor: no target may lie below it"));
            m_fields[f] = field;
            auto* unit = new QLabel(QStringLiteral("\u00B5m"), box);
            unit->setBuddy(field);
            auto* fromCurrent = new QPushButton(fromCurrentText, box);
            fromCurrent->setObjectName(QStringLiteral("fromCurrent%1").arg(f));
            fromCurrent->setAutoDefault(false);
            grid->addWidget(field, axis + 1, column);
            grid->addWidget(unit, axis + 1, column + 1);
            grid->addWidget(fromCurrent, axis + 1, column + 2);
            connect(field, &QLineEdit::textChanged, this, &TravelLimitsDialog::updateCheck);
            connect(fromCurrent, &QPushButton::clicked, this, [this, f] {
                if (!m_hooks.fromCurrent)
                    return;
                QPointer<TravelLimitsDialog> self(this);
                const std::optional<QString> text = m_hooks.fromCurrent(f);
                if (!self)
                    return;
                if (text)
                    m_fields[f]->setText(*text);
                updateCheck(); // the position may have changed, the text not
            });
        }
    }
    m_check = new QLabel(box);
    m_check->setObjectName(QStringLiteral("checkLine"));
    m_check->setWordWrap(true);
    m_check->setMinimumHeight(2 * fontMetrics().lineSpacing());
    grid->addWidget(m_check, 4, 0, 1, 8);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);
    connect(okButton, &QPushButton::clicked, this, &TravelLimitsDialog::tryAccept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    SettingDialogs::layOut(this, box, okButton, cancelButton);
    updateCheck();
    m_fields[0]->setFocus();
}

TravelLimitsChoice TravelLimitsDialog::choice() const
{
    TravelLimitsChoice c;
    for (int f = 0; f < TravelLimitsChoice::fieldCount; ++f)
        c.fields[static_cast<std::size_t>(f)] = m_fields[f]->text();
    return c;
}

QString TravelLimitsDialog::checkText() const
{
    return m_check->text();
}

void TravelLimitsDialog::updateCheck()
{
    if (m_hooks.check)
        m_check->setText(m_hooks.check(choice()));
}

void TravelLimitsDialog::tryAccept()
{
    // The apply function may show a message box; the dialog may be gone
    // when it returns if its parent went away meanwhile.
    QPointer<TravelLimitsDialog> self(this);
    int badField = -1;
    const bool applied = !m_hooks.apply || m_hooks.apply(choice(), &badField);
    if (!self)
        return;
    if (applied) {
        accept();
        return;
    }
    if (badField >= 0 && badField < TravelLimitsChoice::fieldCount) {
        m_fields[badField]->setFocus();
        m_fields[badField]->selectAll();
    }
}

bool TravelLimitsDialog::askWithDialog(QWidget* parent, const TravelLimitsChoice& initial, const Hooks& hooks)
{
    // Held by a guard: the parent may go away while the dialog is up.
    return SettingDialogs::runModal<TravelLimitsDialog>(initial, hooks, parent);
}
