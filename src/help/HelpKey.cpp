#include "HelpKey.h"

#include "HelpGuide.h"

#include <QKeyEvent>
#include <QWidget>

HelpKey::HelpKey(Open open, QObject* parent)
    : QObject(parent)
    , m_open(std::move(open))
{
}

QWidget* HelpKey::helpedWindow(QWidget* widget, QString* section)
{
    for (QWidget* w = widget ? widget->window() : nullptr; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        const QString found = HelpGuide::sectionFor(QString::fromLatin1(w->metaObject()->className()));
        if (!found.isEmpty()) {
            if (section)
                *section = found;
            return w;
        }
    }
    return nullptr;
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !watched->isWidgetType())
        return false;
    QString section;
    QWidget* window = helpedWindow(static_cast<QWidget*>(watched), &section);
    if (!window || !m_open)
        return false;
    m_open(window, section);
    return true;
}
