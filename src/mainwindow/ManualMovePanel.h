#pragma once

#include "ManualMoveLogic.h"
#include "Position.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The manual move panel docked on the right of the main window: the
// Absolute group (X, Y, Z fields and Move), the Step group (six step buttons
// and the step-size box) and the connection text. It only shows and
// collects; the main window carries out the moves.
class ManualMovePanel : public QWidget
{
    Q_OBJECT
public:
    explicit ManualMovePanel(QWidget* parent = nullptr);

    void showPosition(const Position& microns);
    QString xText() const;
    QString yText() const;
    QString zText() const;
    QString stepSizeText() const;
    void setStepSizeText(const QString& text);
    void setConnectionText(const QString& text);
    QString connectionText() const;
    // Fields and step-size box (locked during a move).
    void setFieldsEnabled(bool enabled);
    // Move and the six step buttons (follow the busy flag).
    void setButtonsEnabled(bool enabled);

    QPushButton* moveButton() const { return m_move; }
    QToolButton* stepButton(ManualMoveLogic::Step step) const;
    QLineEdit* field(int axis) const { return m_fields[axis]; }
    QComboBox* stepSizeBox() const { return m_stepSize; }

    // The widest text a position field must show whole: the lowest position
    // the controller can report, in micrometres.
    static QString widestValue();

signals:
    void moveClicked();
    void stepClicked(ManualMoveLogic::Step step);

private:
    // How a control keeps the arrangement when the fields are wider than laid
    // out: where it is, moved by half the extra width, moved by all of it,
    // or made wider by it.
    enum class Place { AsLaidOut, Centre, Right, Widen };
    QRect dialogRect(int left, int top, int width, int height, Place place = Place::AsLaidOut) const;
    // Pixels a line edit in the panel's font needs to show text whole.
    int fieldWidthFor(const QString& text) const;
    QLabel* label(const QString& text, int left, int top, int width = 0, int height = 0,
                  Place place = Place::AsLaidOut);
    QToolButton* makeStepButton(ManualMoveLogic::Step step, int left, int top);

    QLineEdit* m_fields[3] = {};
    QPushButton* m_move = nullptr;
    QToolButton* m_steps[6] = {};
    QComboBox* m_stepSize = nullptr;
    QLabel* m_connection = nullptr;
    qreal m_unitX = 1.5;
    qreal m_unitY = 1.625;
    int m_extra = 0; // pixels the fields are wider than laid out
};
