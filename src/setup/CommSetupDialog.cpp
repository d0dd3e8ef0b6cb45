#include "CommSetupDialog.h"

#include "PortNames.h"
#include "SetupPictures.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Text colour between the normal text and the background: readable, but
// clearly a side note.
QPalette greyText(QPalette palette)
{
    const QColor text = palette.color(QPalette::WindowText);
    const QColor back = palette.color(QPalette::Window);
    palette.setColor(QPalette::WindowText,
                     QColor::fromRgbF(text.redF() * 0.55f + back.redF() * 0.45f,
                                      text.greenF() * 0.55f + back.greenF() * 0.45f,
                                      text.blueF() * 0.55f + back.blueF() * 0.45f));
    return palette;
}

} // namespace

const QString CommSetupDialog::windowTitleText = QStringLiteral("  Setup Communications");

CommSetupDialog::CommSetupDialog(const CommChoice& initial, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(windowTitleText);
    setModal(true);

    const CommChoice start = initial.normalized();

    // Serial port: one row per port, the device it maps to beside it.
    auto* portBox = new QGroupBox(QStringLiteral("Serial Port"), this);
    auto* portLayout = new QGridLayout(portBox);
    portLayout->setColumnStretch(1, 1);
    portLayout->setHorizontalSpacing(12);
    m_portGroup = new QButtonGroup(this);
    for (int n = 1; n <= CommChoice::portCount; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        auto* radio = new QRadioButton(QStringLiteral("Com %1").arg(n), portBox);
        radio->setObjectName(QStringLiteral("com%1Radio").arg(n));
        m_portGroup->addButton(radio, n);

        const QString device = PortNames::deviceFor(name);
        auto* deviceLabel = new QLabel(device, portBox);
        deviceLabel->setObjectName(QStringLiteral("com%1Device").arg(n));
        deviceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        deviceLabel->setPalette(greyText(deviceLabel->palette()));
        QFont small = deviceLabel->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        deviceLabel->setFont(small);
        radio->setToolTip(device);

        portLayout->addWidget(radio, n - 1, 0);
        portLayout->addWidget(deviceLabel, n - 1, 1);
    }

    // Baud rate.
    auto* baudBox = new QGroupBox(QStringLiteral("Baud Rate"), this);
    auto* baudLayout = new QVBoxLayout(baudBox);
    m_baudGroup = new QButtonGroup(this);
    for (const QString& baud : CommChoice::baudTexts()) {
        auto* radio = new QRadioButton(baud, baudBox);
        radio->setObjectName(QStringLiteral("baud%1Radio").arg(baud));
        m_baudGroup->addButton(radio, baud.toInt());
        baudLayout->addWidget(radio);
    }
    baudLayout->addStretch(1);

    // Pictures top right, buttons below them.
    m_connectorPicture = new QLabel(this);
    m_connectorPicture->setObjectName(QStringLiteral("connectorPicture"));
    m_controllerPicture = new QLabel(this);
    m_controllerPicture->setObjectName(QStringLiteral("controllerPicture"));
    auto* pictures = new QHBoxLayout;
    pictures->setSpacing(8);
    pictures->addWidget(m_connectorPicture);
    pictures->addWidget(m_controllerPicture);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addLayout(pictures);
    side->addStretch(1);
    side->addWidget(okButton);
    side->addWidget(cancelButton);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(portBox, 1);
    layout->addWidget(baudBox);
    layout->addSpacing(6);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_portGroup->button(start.port)->setChecked(true);
    m_baudGroup->button(start.baudText.toInt())->setChecked(true);
    okButton->setFocus();

    renderPictures();
}

CommChoice CommSetupDialog::choice() const
{
    CommChoice c;
    c.port = m_portGroup->checkedId();
    if (const QAbstractButton* baud = m_baudGroup->checkedButton())
        c.baudText = baud->text();
    return c.normalized();
}

void CommSetupDialog::showEvent(QShowEvent* event)
{
    // The screen is known for certain only now; redraw if its ratio differs.
    renderPictures();
    QDialog::showEvent(event);
}

void CommSetupDialog::renderPictures()
{
    const qreal ratio = devicePixelRatioF();
    if (ratio == m_picturesRatio)
        return;
    m_picturesRatio = ratio;
    m_connectorPicture->setPixmap(SetupPictures::connector(ratio));
    m_controllerPicture->setPixmap(SetupPictures::controller(ratio));
}

std::optional<CommChoice> CommSetupDialog::askWithDialog(QWidget* parent, const CommChoice& initial)
{
    // Held by a guard: the parent may go away while the dialog is up.
    QPointer<CommSetupDialog> dialog = new CommSetupDialog(initial, parent);
    const int result = dialog->exec();
    if (!dialog)
        return std::nullopt;
    const CommChoice chosen = dialog->choice();
    delete dialog;
    if (result != QDialog::Accepted)
        return std::nullopt;
    return chosen;
}
