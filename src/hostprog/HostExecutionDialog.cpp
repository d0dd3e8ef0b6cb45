#include "HostExecutionDialog.h"

#include "CaptureIcon.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

HostExecutionDialog::HostExecutionDialog(HostMoves& moves, Prompts& prompts, QWidget* owner)
    : QDialog(owner)
    , m_session(moves, prompts)
{
    setWindowTitle(HostExecutionSession::title);
    setWindowIcon(CaptureIcon::icon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* executeBox = new QGroupBox(QStringLiteral("Execute"), this);
    executeBox->setObjectName(QStringLiteral("executeGroup"));
    auto* executeLayout = new QVBoxLayout(executeBox);
    executeLayout->addWidget(addButton(QStringLiteral("Execute Once"), QStringLiteral("executeOnceButton"),
                                       &HostExecutionSession::executeOnce));
    executeLayout->addWidget(addButton(QStringLiteral("Loop"), QStringLiteral("loopButton"),
                                       &HostExecutionSession::loop));

    auto* haltBox = new QGroupBox(this);
    haltBox->setObjectName(QStringLiteral("haltGroup"));
    auto* haltLayout = new QVBoxLayout(haltBox);
    haltLayout->addWidget(addButton(QStringLiteral("Halt"), QStringLiteral("haltButton"), &HostExecutionSession::halt));

    auto* loadBox = new QGroupBox(QStringLiteral("Load"), this);
    loadBox->setObjectName(QStringLiteral("loadGroup"));
    auto* loadLayout = new QVBoxLayout(loadBox);
    loadLayout->addWidget(addButton(QStringLiteral("Select File"), QStringLiteral("selectFileButton"),
                                    &HostExecutionSession::selectFile));
    auto* stepsRow = new QHBoxLayout;
    auto* stepsLabel = new QLabel(QStringLiteral("Steps"), loadBox);
    stepsLabel->setObjectName(QStringLiteral("stepsLabel"));
    m_steps = new QLineEdit(loadBox);
    m_steps->setObjectName(QStringLiteral("stepsEdit"));
    m_steps->setEnabled(false);
    m_steps->setFixedWidth(m_steps->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    stepsLabel->setBuddy(m_steps);
    stepsRow->addWidget(stepsLabel);
    stepsRow->addWidget(m_steps);
    loadLayout->addLayout(stepsRow);

    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("exitButton"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &HostExecutionDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(executeBox, 0, 0);
    grid->addWidget(loadBox, 0, 1);
    grid->addWidget(haltBox, 1, 0);
    grid->addWidget(exit, 1, 1, Qt::AlignRight | Qt::AlignBottom);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    setFixedSize(sizeHint());
}

QPushButton* HostExecutionDialog::addButton(const QString& caption, const QString& name,
                                            void (HostExecutionSession::*action)())
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false); // no default button: Enter presses nothing
    connect(button, &QPushButton::clicked, this, [this, action] {
        (m_session.*action)();
        m_steps->setText(m_session.stepsText());
    });
    return button;
}

QPushButton* HostExecutionDialog::button(const QString& objectName) const
{
    return findChild<QPushButton*>(objectName);
}

void HostExecutionDialog::reject()
{
    if (m_session.mayExit())
        QDialog::reject();
}

void HostExecutionDialog::showModal(HostMoves& moves, Prompts& prompts, QWidget* owner)
{
    HostExecutionDialog dialog(moves, prompts, owner);
    dialog.exec();
}
