#include "AboutBox.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QVBoxLayout>
#include <QtMath>

const QString AboutBox::title = QStringLiteral("QX410 Windows Program");
const QString AboutBox::productLine = QStringLiteral("QX-410 Micromanipulator Controller");
const QString AboutBox::versionLine = QStringLiteral("Qx410 Version 1.03");
const QStringList AboutBox::makerLines = {
    QStringLiteral("Qx410 host program contributors"),
    QStringLiteral("Open-source host software for the QX-410"),
    QStringLiteral("No telephone support: see the user guide"),
};
const QString AboutBox::guideLine = QStringLiteral("User guide");

namespace {

const QColor lightGrey(192, 192, 192);
const QColor productRed(128, 0, 0);
const QColor linkBlue(0, 0, 255);

// The picture is drawn in a 64 x 64 box, scaled to the widget.
constexpr int pictureBox = 64;
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

// A line with an arrowhead at each end.
void drawAxis(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour)
{
    const QLineF line(from, to);
    p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::FlatCap));
    const QLineF shaft(line.pointAt(4.0 / line.length()), line.pointAt(1.0 - 4.0 / line.length()));
    p.drawLine(shaft);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (const QLineF& end : { line, QLineF(to, from) }) {
        const qreal angle = qDegreesToRadians(end.angle());
        const QPointF tip = end.p2();
        const QPointF back(-qCos(angle) * 5.0, qSin(angle) * 5.0);
        const QPointF side(-qSin(angle) * 3.0, -qCos(angle) * 3.0);
        p.drawPolygon(QPolygonF({ tip, tip + back + side, tip + back - side }));
    }
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
    // A three-axis manipulator on its base: an upright column carrying the
    // vertical carriage, a horizontal arm, a cross stage and the pipette
    // holder, with the three axes marked in red, green and blue.
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(qreal(m_picture->width()) / pictureBox, qreal(m_picture->height()) / pictureBox);

    const QPen outline(QColor(48, 48, 48), 1.0);
    const QColor metal(170, 174, 184);
    const QColor lightMetal(214, 218, 226);
    const QColor darkMetal(96, 100, 110);

    p.setPen(outline);
    p.setBrush(darkMetal);
    p.drawRoundedRect(QRectF(4, 54, 56, 7), 2, 2); // base plate

    p.setBrush(metal);
    p.drawRect(QRectF(12, 12, 8, 42)); // column
    p.setBrush(lightMetal);
    p.drawRect(QRectF(9, 24, 14, 12)); // vertical carriage
    p.setBrush(metal);
    p.drawRect(QRectF(23, 27, 20, 6)); // arm

    // Cross stage, drawn as a box seen from above and in front.
    p.setBrush(lightMetal);
    p.drawPolygon(QPolygonF({ QPointF(40, 23), QPointF(46, 18), QPointF(56, 18), QPointF(50, 23) }));
    p.setBrush(darkMetal);
    p.drawPolygon(QPolygonF({ QPointF(50, 23), QPointF(56, 18), QPointF(56, 30), QPointF(50, 35) }));
    p.setBrush(metal);
    p.drawRect(QRectF(40, 23, 10, 12));

    // Pipette holder and glass pipette, slanting down to the right.
    p.setBrush(QColor(60, 60, 64));
    p.drawPolygon(QPolygonF({ QPointF(44, 35), QPointF(48, 35), QPointF(54, 46), QPointF(51, 48) }));
    p.setPen(QPen(QColor(90, 150, 200), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(52.5, 47), QPointF(59, 57));

    drawAxis(p, QPointF(25, 20), QPointF(38, 20), QColor(200, 0, 0)); // X
    drawAxis(p, QPointF(48, 14), QPointF(58, 6), QColor(0, 150, 0)); // Y
    drawAxis(p, QPointF(5, 14), QPointF(5, 40), QColor(0, 0, 200)); // Z
}
