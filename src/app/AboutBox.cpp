#include "AboutBox.h"

#include "Qx410Icon.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

const QString AboutBox::title = QStringLiteral("QX410 Windows Program");
const QString AboutBox::productLine = QStringLiteral("QX-410 Micromanipulator Controller");
const QString AboutBox::versionLine = QStringLiteral("Qx410 Version 1.03");
const QStringList AboutBox::makerLines = {
    QStringLiteral("Qx410 host program contributors"),
    QStringLiteral("Open-source host software for the QX-410"),
    QStringLiteral("No telephone support: see the user guide"),
};
const QString AboutBox::licenceLine = QStringLiteral("Free software under the MIT License");
const QString AboutBox::guideLine = QStringLiteral("User guide");

namespace {

const QColor lightGrey(192, 192, 192);
const QColor productRed(128, 0, 0);
const QColor linkBlue(0, 0, 255);

constexpr int pictureSize = 72;

// One line of text on light grey; an invalid colour keeps the default text colour.
QLabel* makeLine(QWidget* parent, const QString& text, const QColor& colour, const QString& name)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, lightGrey);
    if (colour.isValid())
        palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

AboutBox::AboutBox(const QUrl& guide, QWidget* parent)
    : QDialog(parent)
    , m_guide(guide)
    , m_opener([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setWindowTitle(title);
    setModal(true);

    QPalette grey = palette();
    grey.setColor(QPalette::Window, lightGrey);
    grey.setColor(QPalette::WindowText, Qt::black);
    setPalette(grey);
    setAutoFillBackground(true);

    m_picture = new QWidget(this);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->setFixedSize(pictureSize, pictureSize);
    m_picture->installEventFilter(this);

    QLabel* product = makeLine(this, productLine, productRed, QStringLiteral("productLine"));
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    QLabel* version = makeLine(this, versionLine, QColor(), QStringLiteral("versionLine"));

    auto* rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("rule"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    m_guideLine = makeLine(this, guideLine, linkBlue, QStringLiteral("guideLine"));
    QFont underlined = m_guideLine->font();
    underlined.setUnderline(true);
    m_guideLine->setFont(underlined);
    m_guideLine->setCursor(Qt::PointingHandCursor);
    m_guideLine->setToolTip(guide.toDisplayString());
    m_guideLine->installEventFilter(this);

    auto* lines = new QVBoxLayout;
    lines->setSpacing(2);
    lines->addWidget(product);
    lines->addWidget(version);
    lines->addSpacing(4);
    lines->addWidget(rule);
    lines->addSpacing(4);
    for (int i = 0; i < makerLines.size(); ++i)
        lines->addWidget(makeLine(this, makerLines[i], Qt::black, QStringLiteral("makerLine%1").arg(i + 1)));
    lines->addWidget(makeLine(this, licenceLine, Qt::black, QStringLiteral("licenceLine")));
    lines->addWidget(m_guideLine);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(m_picture, 0, Qt::AlignTop);
    top->addLayout(lines, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QUrl AboutBox::guide() const
{
    return m_guide;
}

void AboutBox::setUrlOpener(UrlOpener opener)
{
    m_opener = std::move(opener);
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_picture && event->type() == QEvent::Paint) {
        QPainter painter(m_picture);
        paintPicture(painter);
        return true;
    }
    if (watched == m_guideLine) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                return false;
            if (event->type() == QEvent::MouseButtonRelease && m_guideLine->rect().contains(mouse->position().toPoint())
                && m_opener)
                m_opener(m_guide);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::paintPicture(QPainter& p) const
{
    // The program's icon, as the window system shows it.
    Qx410Icon::paint(p, m_picture->width());
}
