#include "PaneBar.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <qdrawutil.h>

PaneBar::PaneBar(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void PaneBar::setPanes(const QList<Pane>& panes)
{
    m_panes = panes;
    updateGeometry();
    update();
}

int PaneBar::paneCount() const
{
    return static_cast<int>(m_panes.size());
}

void PaneBar::setPaneText(int index, const QString& text)
{
    if (index < 0 || index >= m_panes.size() || m_panes[index].text == text)
        return;
    m_panes[index].text = text;
    update(paneRect(index));
}

QString PaneBar::paneText(int index) const
{
    if (index < 0 || index >= m_panes.size())
        return QString();
    return m_panes[index].text;
}

QRect PaneBar::paneRect(int index) const
{
    if (index < 0 || index >= m_panes.size())
        return QRect();
    int x = 0;
    for (int i = 0; i < index; ++i)
        x += m_panes[i].width + padding + gap;
    return QRect(x, topMargin, m_panes[index].width + padding, height() - topMargin);
}

int PaneBar::paneAt(const QPoint& pos) const
{
    if (pos.y() < topMargin || pos.y() >= height())
        return -1;
    int x = 0;
    for (int i = 0; i < m_panes.size(); ++i) {
        const int w = m_panes[i].width + padding;
        if (pos.x() >= x && pos.x() < x + w)
            return i;
        x += w + gap;
    }
    return -1;
}

void PaneBar::addToolTipArea(const QRect& area, const QString& text)
{
    m_toolTipAreas.append({ area, text });
}

int PaneBar::toolTipAreaAt(const QPoint& pos) const
{
    for (int i = 0; i < m_toolTipAreas.size(); ++i) {
        if (m_toolTipAreas[i].first.contains(pos))
            return i;
    }
    return -1;
}

QString PaneBar::toolTipAt(const QPoint& pos) const
{
    const int i = toolTipAreaAt(pos);
    return i < 0 ? QString() : m_toolTipAreas[i].second;
}

Qt::Alignment PaneBar::alignmentOf(const QString& text)
{
    if (text.startsWith(QLatin1String("\t\t")))
        return Qt::AlignRight;
    if (text.startsWith(QLatin1Char('\t')))
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

QString PaneBar::displayText(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == QLatin1Char('\t'))
        ++start;
    return text.mid(start);
}

QSize PaneBar::sizeHint() const
{
    int w = 0;
    for (const Pane& pane : m_panes)
        w += pane.width + padding + gap;
    if (w > 0)
        w -= gap;
    return QSize(w, minimumSizeHint().height());
}

QSize PaneBar::minimumSizeHint() const
{
    // Tall enough for the frame and a line of text in this font.
    return QSize(0, qMax(barHeight, topMargin + fontMetrics().height() + 4));
}

bool PaneBar::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int i = toolTipAreaAt(help->pos());
        if (i >= 0) {
            QToolTip::showText(help->globalPos(), m_toolTipAreas[i].second, this, m_toolTipAreas[i].first);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void PaneBar::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor textColour = palette().color(group, QPalette::WindowText);
    const QFontMetrics metrics = fontMetrics();
    for (int i = 0; i < m_panes.size(); ++i) {
        const QRect rect = paneRect(i);
        if (!rect.intersects(event->rect()))
            continue;
        const Pane& pane = m_panes[i];
        if (pane.border)
            qDrawShadePanel(&painter, rect, palette(), true, 1);
        const QRect textRect = rect.adjusted(textMargin, 1, -textMargin, -1);
        if (textRect.width() <= 0)
            continue;
        const QString text = metrics.elidedText(displayText(pane.text), Qt::ElideRight, textRect.width());
        // drawText keeps to textRect, so nothing reaches the frame or the next pane.
        painter.setPen(textColour);
        painter.drawText(textRect, int(alignmentOf(pane.text) | Qt::AlignVCenter | Qt::TextSingleLine), text);
    }
}

void PaneBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    emit paneDoubleClicked(paneAt(event->position().toPoint()));
    event->accept();
}
