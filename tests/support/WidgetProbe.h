#pragma once

// Looking into a dialog from a test: its named children, the group box a
// control sits in, and the tooltip shown over a control.

#include <QApplication>
#include <QGroupBox>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

namespace WidgetProbe {

template <typename T> T* child(const QWidget& parent, const char* name)
{
    T* found = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << "no child named " << name;
    return found;
}

inline QString groupTitle(const QWidget* w)
{
    for (const QObject* o = w; o; o = o->parent())
        if (auto* box = qobject_cast<const QGroupBox*>(o))
            return box->title();
    return QString();
}

inline QString toolTipShownOver(QWidget* w)
{
    QToolTip::hideText();
    const QPoint local = w->rect().center();
    QHelpEvent help(QEvent::ToolTip, local, w->mapToGlobal(local));
    QApplication::sendEvent(w, &help);
    const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return shown;
}

} // namespace WidgetProbe
