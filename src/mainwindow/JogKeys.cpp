#include "JogKeys.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

using Step = ManualMoveLogic::Step;
using Scale = ManualMoveLogic::Scale;

JogKeys::JogKeys(QObject* parent)
    : QObject(parent)
{
}

std::optional<JogKeys::Jog> JogKeys::forKey(int key, Qt::KeyboardModifiers modifiers)
{
    // Arrow keys of the numeric keypad count as the others.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    Scale scale = Scale::Normal;
    if (held == Qt::ShiftModifier)
        scale = Scale::Tenfold;
    else if (held == Qt::ControlModifier)
        scale = Scale::Tenth;
    else if (held != Qt::NoModifier)
        return std::nullopt;
    switch (key) {
    case Qt::Key_Left:
        return Jog{Step::Left, scale};
    case Qt::Key_Right:
        return Jog{Step::Right, scale};
    case Qt::Key_Up:
        return Jog{Step::Back, scale};
    case Qt::Key_Down:
        return Jog{Step::Front, scale};
    case Qt::Key_PageUp:
        return Jog{Step::Up, scale};
    case Qt::Key_PageDown:
        return Jog{Step::Down, scale};
    default:
        return std::nullopt;
    }
}

bool JogKeys::takesText(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)
        || qobject_cast<const QComboBox*>(widget) || qobject_cast<const QTextEdit*>(widget)
        || qobject_cast<const QPlainTextEdit*>(widget);
}

void JogKeys::watch(QWidget* widget)
{
    if (takesText(widget))
        return;
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        watch(child);
}

bool JogKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    // Only the widget with the focus: a key a text field leaves unused comes
    // on to its parent, which must not take it as a jog.
    if (watched != QApplication::focusWidget())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const std::optional<Jog> jogged = forKey(key->key(), key->modifiers());
    if (!jogged)
        return false;
    if (!key->isAutoRepeat())
        emit jog(jogged->step, jogged->scale);
    return true;
}
