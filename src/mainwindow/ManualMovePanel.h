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

signals:
    void moveClicked();
    void stepClicked(ManualMoveLogic::Step step);

private:
    QRect dialogRect(int left, int top, int width, int height) const;
    QLabel* label(const QString& text, int left, int top, int width = 0, int height = 0);
    QToolButton* makeStepButton(ManualMoveLogic::Step step, int left, int top);

    QLineEdit* m_fields[3] = {};
    QPushButton* m_move = nullptr;
    QToolButton* m_steps[6] = {};
    QComboBox* m_stepSize = nullptr;
    QLabel* m_connection = nullptr;
    qreal m_unitX = 1.5;
    qreal m_unitY = 1.625;
};
