#include "CommSetupDialog.h"

#include "PortNames.h"
#include "SetupPictures.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
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

CommSetupDialog::CommSetupDialog(const CommChoice& initial, QWidget* parent, DeviceLister lister)
    : QDialog(parent)
    , m_lister(lister ? std::move(lister) : DeviceLister([] { return SerialDevices::scan(); }))
    , m_picker(initial.bindings, m_lister())
{
    setWindowTitle(windowTitleText);
    setModal(true);

    const CommChoice start = initial.normalized();

    // Serial port: one row per port, the device list to bind it to and the
    // device its name maps to beside it.
    auto* portBox = new QGroupBox(QStringLiteral("Serial Port"), this);
    auto* portLayout = new QGridLayout(portBox);
    portLayout->setColumnStretch(1, 1);
    portLayout->setHorizontalSpacing(12);
    m_portGroup = new QButtonGroup(this);
    for (int n = 1; n <= CommChoice::portCount; ++n) {
        auto* radio = new QRadioButton(QStringLiteral("Com %1").arg(n), portBox);
        radio->setObjectName(QStringLiteral("com%1Radio").arg(n));
        m_portGroup->addButton(radio, n);

        auto* list = new QComboBox(portBox);
        list->setObjectName(QStringLiteral("com%1Binding").arg(n));
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        m_bindingLists[n - 1] = list;
        connect(list, qOverload<int>(&QComboBox::activated), this, [this, n](int index) {
            m_picker.select(n, index);
            showMappings();
        });

        auto* deviceLabel = new QLabel(portBox);
        deviceLabel->setObjectName(QStringLiteral("com%1Device").arg(n));
        deviceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        deviceLabel->setPalette(greyText(deviceLabel->palette()));
        QFont small = deviceLabel->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        deviceLabel->setFont(small);
        m_deviceLabels[n - 1] = deviceLabel;

        portLayout->addWidget(radio, 2 * (n - 1), 0);
        portLayout->addWidget(list, 2 * (n - 1), 1);
        portLayout->addWidget(deviceLabel, 2 * (n - 1) + 1, 1);
    }
    auto* rescanButton = new QPushButton(QStringLiteral("Rescan"), portBox);
    rescanButton->setObjectName(QStringLiteral("rescanButton"));
    rescanButton->setToolTip(QStringLiteral("Look again for serial devices, e.g. an adapter just plugged in"));
    rescanButton->setAutoDefault(false);
    connect(rescanButton, &QPushButton::clicked, this, &CommSetupDialog::rescan);
    portLayout->addWidget(rescanButton, 2 * CommChoice::portCount, 1, Qt::AlignRight);
    fillBindingLists();

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
    c.bindings = m_picker.bindings();
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

void CommSetupDialog::rescan()
{
    m_picker.setDevices(m_lister());
    fillBindingLists();
}

void CommSetupDialog::fillBindingLists()
{
    for (int n = 1; n <= CommChoice::portCount; ++n) {
        QComboBox* list = m_bindingLists[n - 1];
        list->clear();
        for (const PortPicker::Entry& entry : m_picker.entries(n)) {
            list->addItem(entry.label);
            list->setItemData(list->count() - 1, entry.detail, Qt::ToolTipRole);
        }
        list->setCurrentIndex(m_picker.selectedIndex(n));
    }
    showMappings();
}

void CommSetupDialog::showMappings()
{
    for (int n = 1; n <= CommChoice::portCount; ++n) {
        const PortNames::Mapping mapping = m_picker.mapping(n);
        m_deviceLabels[n - 1]->setText(m_picker.mappingText(n));
        m_portGroup->button(n)->setToolTip(mapping.device);
    }
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
