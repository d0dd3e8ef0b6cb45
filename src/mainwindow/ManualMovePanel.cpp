#include "ManualMovePanel.h"

#include "ButtonPictures.h"
#include "Units.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <limits>

namespace {

struct StepButton
{
    ManualMoveLogic::Step step;
    ButtonPictures::Picture picture;
    int left;
    int top;
    const char* statusTip;
    const char* toolTip;
    const char* key; // the key that steps as the button does
};

// Positions in dialog units: left, top (each button 15 x 13).
const StepButton kStepButtons[] = {
    {ManualMoveLogic::Step::Back, ButtonPictures::Picture::ArrowUp, 30, 86, "Step to the backward direction", "Step Back", "Up"},
    {ManualMoveLogic::Step::Left, ButtonPictures::Picture::ArrowLeft, 14, 100, "Step to the left direction", "Step Left", "Left"},
    {ManualMoveLogic::Step::Right, ButtonPictures::Picture::ArrowRight, 46, 100, "Step to the right direction", "Step Right", "Right"},
    {ManualMoveLogic::Step::Front, ButtonPictures::Picture::ArrowDown, 30, 113, "Step to the forward direction", "Step Front", "Down"},
    {ManualMoveLogic::Step::Up, ButtonPictures::Picture::ArrowUp, 30, 136, "Step to the up direction", "Step Up", "Page Up"},
    {ManualMoveLogic::Step::Down, ButtonPictures::Picture::ArrowDown, 30, 151, "Step to the down direction", "Step Down", "Page Down"},
};

const char* const kAxisNames[] = {"X", "Y", "Z"};
const char* const kFieldStatus[] = {"Set or display of x coordinate", "Set or display of y coordinate",
                                    "Set or display of z coordinate"};
const char* const kFieldTips[] = {"X Absolute Coordinate", "Y Absolute Coordinate", "Z Absolute Coordinate"};
const int kFieldTops[] = {11, 26, 40};
const int kLabelTops[] = {13, 28, 42};
const int kUnitTops[] = {13, 26, 40};

} // namespace

ManualMovePanel::ManualMovePanel(QWidget* parent)
    : QWidget(parent)
{
    // Dialog units follow the panel font: a quarter of the average character
    // width across, an eighth of the line height down.
    const QFontMetricsF metrics(font());
    m_unitX = metrics.averageCharWidth() / 4.0;
    m_unitY = metrics.height() / 8.0;
    // The fields grow, when the font asks for it, to show the widest value
    // whole; what lies right of them moves over and the rest stays centred.
    m_extra = qMax(0, fieldWidthFor(widestValue()) - dialogRect(23, 0, 26, 12).width());

    auto* absolute = new QGroupBox(tr("Absolute"), this);
    absolute->setGeometry(dialogRect(6, 2, 65, 72, Place::Widen));
    for (int axis = 0; axis < 3; ++axis) {
        label(QString::fromLatin1(kAxisNames[axis]), 13, kLabelTops[axis]);
        auto* f = new QLineEdit(this);
        f->setGeometry(dialogRect(23, kFieldTops[axis], 26, 12, Place::Widen));
        f->setStatusTip(QString::fromLatin1(kFieldStatus[axis]));
        f->setToolTip(QString::fromLatin1(kFieldTips[axis]));
        f->setText(QStringLiteral("0"));
        m_fields[axis] = f;
        label(QStringLiteral("µm"), 51, kUnitTops[axis], 0, 0, Place::Right);
    }
    m_move = new QPushButton(tr("Move"), this);
    m_move->setGeometry(dialogRect(16, 56, 41, 14, Place::Centre));
    m_move->setStatusTip(QStringLiteral("Move to position defined by mouse click"));
    m_move->setToolTip(QStringLiteral("Move To Absolute Position"));
    connect(m_move, &QPushButton::clicked, this, &ManualMovePanel::moveClicked);

    auto* step = new QGroupBox(tr("Step"), this);
    step->setGeometry(dialogRect(6, 76, 65, 120, Place::Widen));
    for (int i = 0; i < 6; ++i) {
        const StepButton& b = kStepButtons[i];
        QToolButton* button = makeStepButton(b.step, b.left, b.top);
        button->setIcon(ButtonPictures::icon(b.picture));
        button->setStatusTip(QString::fromLatin1(b.statusTip));
        button->setToolTip(QStringLiteral("%1 (%2 key; Shift ×10, Ctrl ÷10)")
                               .arg(QString::fromLatin1(b.toolTip), QString::fromLatin1(b.key)));
        m_steps[i] = button;
    }
    // "X  Y" sits in the middle of the cross of X/Y buttons.
    label(QStringLiteral("X  Y"), 29, 102, 17, 10, Place::Centre)->setAlignment(Qt::AlignCenter);
    label(QStringLiteral("Z"), 17, 146, 0, 0, Place::Centre);

    m_stepSize = new QComboBox(this);
    m_stepSize->setEditable(true);
    m_stepSize->setInsertPolicy(QComboBox::NoInsert);
    m_stepSize->addItems({QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("100"), QStringLiteral("1000")});
    m_stepSize->lineEdit()->setMaxLength(ManualMoveLogic::maxFieldChars);
    const QRect boxRect = dialogRect(12, 179, 40, 12, Place::Centre);
    m_stepSize->setGeometry(boxRect.x(), boxRect.y(), boxRect.width(), m_stepSize->sizeHint().height());
    m_stepSize->setStatusTip(QStringLiteral("Set step size of manipulator"));
    m_stepSize->setToolTip(QStringLiteral("Step Size"));
    label(QStringLiteral("µm"), 54, 180, 0, 0, Place::Centre);

    m_connection = label(QStringLiteral("QX-410 is connected via COM1"), 13, 201, 52, 32, Place::Widen);
    m_connection->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_connection->setWordWrap(true);

    // A click on the panel's background takes the focus out of a field, so
    // the arrow keys jog.
    setFocusPolicy(Qt::ClickFocus);

    const QRect whole = dialogRect(0, 0, 78, 248, Place::Widen);
    setMinimumSize(whole.size());
    setMaximumWidth(whole.width() + 8);
}

QRect ManualMovePanel::dialogRect(int left, int top, int width, int height, Place place) const
{
    QRect r(qRound(left * m_unitX), qRound(top * m_unitY), qRound(width * m_unitX), qRound(height * m_unitY));
    switch (place) {
    case Place::AsLaidOut:
        break;
    case Place::Centre:
        r.translate(m_extra / 2, 0);
        break;
    case Place::Right:
        r.translate(m_extra, 0);
        break;
    case Place::Widen:
        r.setWidth(r.width() + m_extra);
        break;
    }
    return r;
}

QString ManualMovePanel::widestValue()
{
    // The lowest position the controller can report, in micrometres.
    return QString::number(Units::microstepsToMicrons(std::numeric_limits<qint32>::min()));
}

int ManualMovePanel::fieldWidthFor(const QString& text) const
{
    // A line edit's size hint is room for 17 'x' plus its frame and margins;
    // the same frame and margins around the text, and a pixel for the cursor.
    QLineEdit probe;
    probe.setFont(font());
    const int frameAndMargins = probe.sizeHint().width() - 17 * probe.fontMetrics().horizontalAdvance(QLatin1Char('x'));
    return frameAndMargins + probe.fontMetrics().horizontalAdvance(text) + 1;
}

QLabel* ManualMovePanel::label(const QString& text, int left, int top, int width, int height, Place place)
{
    auto* l = new QLabel(text, this);
    if (width > 0)
        l->setGeometry(dialogRect(left, top, width, height, place));
    else
        l->move(dialogRect(left, top, 0, 0, place).topLeft());
    return l;
}

QToolButton* ManualMovePanel::makeStepButton(ManualMoveLogic::Step step, int left, int top)
{
    auto* button = new QToolButton(this);
    button->setGeometry(dialogRect(left, top, 15, 13, Place::Centre));
    button->setIconSize(QSize(ButtonPictures::width, ButtonPictures::height - 4));
    // A click leaves the focus on the button, so the arrow keys jog from there.
    button->setFocusPolicy(Qt::StrongFocus);
    connect(button, &QToolButton::clicked, this, [this, step] { emit stepClicked(step); });
    return button;
}

QToolButton* ManualMovePanel::stepButton(ManualMoveLogic::Step step) const
{
    for (int i = 0; i < 6; ++i)
        if (kStepButtons[i].step == step)
            return m_steps[i];
    return nullptr;
}

void ManualMovePanel::showPosition(const Position& microns)
{
    m_fields[0]->setText(QString::number(microns.x));
    m_fields[1]->setText(QString::number(microns.y));
    m_fields[2]->setText(QString::number(microns.z));
}

QString ManualMovePanel::xText() const
{
    return m_fields[0]->text();
}

QString ManualMovePanel::yText() const
{
    return m_fields[1]->text();
}

QString ManualMovePanel::zText() const
{
    return m_fields[2]->text();
}

QString ManualMovePanel::stepSizeText() const
{
    return m_stepSize->currentText();
}

void ManualMovePanel::setStepSizeText(const QString& text)
{
    m_stepSize->setEditText(text);
}

void ManualMovePanel::setConnectionText(const QString& text)
{
    m_connection->setText(text);
    m_connection->repaint();
}

QString ManualMovePanel::connectionText() const
{
    return m_connection->text();
}

void ManualMovePanel::setFieldsEnabled(bool enabled)
{
    for (QLineEdit* f : m_fields)
        f->setEnabled(enabled);
    m_stepSize->setEnabled(enabled);
    repaint();
}

void ManualMovePanel::setButtonsEnabled(bool enabled)
{
    m_move->setEnabled(enabled);
    for (QToolButton* b : m_steps)
        b->setEnabled(enabled);
}
