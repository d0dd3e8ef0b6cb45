#include "DefinePositionDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

DefinePositionDialog::DefinePositionDialog(DefinePosition& definition, QWidget* parent)
    : QDialog(parent)
    , m_definition(definition)
{
    setWindowTitle(definition.title());
    setModal(true);

    auto* positionBox = new QGroupBox(QStringLiteral("Position"), this);
    positionBox->setObjectName(QStringLiteral("positionGroup"));
    auto* grid = new QGridLayout(positionBox);
    grid->setHorizontalSpacing(8);
    for (int f = DefinePosition::X; f < DefinePosition::FieldCount; ++f) {
        const QString name = DefinePosition::fieldName(static_cast<DefinePosition::Field>(f));
        const QString lower = name.toLower();

        auto* label = new QLabel(name, positionBox);
        label->setObjectName(lower + QStringLiteral("Label"));
        auto* edit = new QLineEdit(positionBox);
        edit->setObjectName(lower + QStringLiteral("Edit"));
        edit->setAlignment(Qt::AlignRight);
        // Wide enough for the longest value in range, "-12700", with room.
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-1270000")) + 12);
        label->setBuddy(edit);
        auto* unit = new QLabel(QStringLiteral("um"), positionBox);
        unit->setObjectName(lower + QStringLiteral("Unit"));

        grid->addWidget(label, f, 0);
        grid->addWidget(edit, f, 1);
        grid->addWidget(unit, f, 2);
        m_fields[static_cast<std::size_t>(f)] = edit;
    }

    auto* getCurrentBox = new QGroupBox(this);
    getCurrentBox->setObjectName(QStringLiteral("getCurrentGroup"));
    auto* getCurrentLayout = new QHBoxLayout(getCurrentBox);
    auto* getCurrentButton = new QPushButton(QStringLiteral("Get Current Position"), getCurrentBox);
    getCurrentButton->setObjectName(QStringLiteral("getCurrentButton"));
    getCurrentLayout->addWidget(getCurrentButton);
    connect(getCurrentButton, &QPushButton::clicked, this, &DefinePositionDialog::getCurrentPosition);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &DefinePositionDialog::tryAccept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(positionBox);
    left->addWidget(getCurrentBox);

    auto* side = new QVBoxLayout;
    side->addWidget(okButton);
    side->addWidget(cancelButton);
    side->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addSpacing(6);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    showHeld();
    m_fields[DefinePosition::X]->setFocus();
    m_fields[DefinePosition::X]->selectAll();
}

void DefinePositionDialog::showHeld()
{
    for (int f = DefinePosition::X; f < DefinePosition::FieldCount; ++f)
        m_fields[static_cast<std::size_t>(f)]->setText(
            QString::number(m_definition.held(static_cast<DefinePosition::Field>(f))));
}

void DefinePositionDialog::getCurrentPosition()
{
    if (m_definition.getCurrentPosition())
        showHeld();
}

void DefinePositionDialog::tryAccept()
{
    DefinePosition::Texts texts;
    for (std::size_t f = 0; f < texts.size(); ++f)
        texts[f] = m_fields[f]->text();
    if (const std::optional<DefinePosition::Field> refused = m_definition.accept(texts)) {
        QLineEdit* edit = field(*refused);
        edit->setFocus();
        edit->selectAll();
        return;
    }
    accept();
}

DefinePositionResult DefinePositionDialog::askWithDialog(QWidget* parent, DefinePosition& definition)
{
    // Held by a guard: the parent may go away while the dialog is up.
    QPointer<DefinePositionDialog> dialog = new DefinePositionDialog(definition, parent);
    dialog->exec();
    delete dialog;
    return definition.result();
}
