#include "HardwareSetupDialog.h"

#include "HardwareSetup.h"

#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

const QString HardwareSetupDialog::windowTitleText = QStringLiteral("  Hardware Setup");
const QString HardwareSetupDialog::warningText = QStringLiteral("Consult Manual Before Changing Origin");
const QColor HardwareSetupDialog::warningTextColour = QColor(128, 0, 0);
const QColor HardwareSetupDialog::warningBackColour = QColor(192, 192, 192);

namespace {

// A group holding one push button, centred.
QPushButton* groupedButton(QWidget* parent, const QString& title, const QString& caption, const char* name,
    const QString& toolTip, QGroupBox** box)
{
    *box = new QGroupBox(title, parent);
    auto* button = new QPushButton(caption, *box);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    auto* layout = new QVBoxLayout(*box);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    return button;
}

} // namespace

HardwareSetupDialog::HardwareSetupDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(windowTitleText);
    setModal(true);

    QGroupBox* controllerBox = nullptr;
    QPushButton* reset = groupedButton(this, QStringLiteral("Controller"), QStringLiteral("Reset"), "resetButton",
        QStringLiteral("Reset Controller"), &controllerBox);
    QGroupBox* originBox = nullptr;
    QPushButton* set = groupedButton(this, QStringLiteral("Origin"), QStringLiteral("Set"), "setButton",
        QStringLiteral("Set Origin to Current Position"), &originBox);
    connect(reset, &QPushButton::clicked, this, &HardwareSetupDialog::resetClicked);
    connect(set, &QPushButton::clicked, this, &HardwareSetupDialog::setClicked);

    // The warning: its own sunken frame, dark red on light grey; the rest of
    // the dialog keeps the default colours.
    auto* warning = new QLabel(warningText, this);
    warning->setObjectName(QStringLiteral("warningText"));
    warning->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    warning->setAlignment(Qt::AlignCenter);
    warning->setMargin(4);
    warning->setAutoFillBackground(true);
    QPalette palette = warning->palette();
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        palette.setColor(group, QPalette::WindowText, warningTextColour);
        palette.setColor(group, QPalette::Window, warningBackColour);
    }
    warning->setPalette(palette);

    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("exitButton"));
    exit->setDefault(true);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(controllerBox, 0, 0);
    layout->addWidget(originBox, 0, 1);
    layout->addWidget(warning, 1, 0, 1, 2);
    layout->addWidget(exit, 2, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    exit->setFocus();
}

void HardwareSetupDialog::showModal(QWidget* parent, HardwareSetup& setup)
{
    // Held by a guard: the parent may go away while the dialog is up.
    QPointer<HardwareSetupDialog> dialog = new HardwareSetupDialog(parent);
    connect(dialog, &HardwareSetupDialog::resetClicked, dialog, [&setup] { setup.reset(); });
    connect(dialog, &HardwareSetupDialog::setClicked, dialog, [&setup] { setup.setOrigin(); });
    dialog->exec();
    delete dialog;
}
