#include "ResolutionNote.h"

#include <QEvent>
#include <QPainter>
#include <QStatusBar>

#include <algorithm>

const QColor ResolutionNote::textColour = QColor(128, 0, 0);
const QColor ResolutionNote::backColour = QColor(192, 192, 192);
const QPoint ResolutionNote::origin = QPoint(0, 2);

namespace {
const char* const noteName = "resolutionNote";
}

ResolutionNote::ResolutionNote(QStatusBar* bar, const QString& text)
    : QWidget(bar)
    , m_text(text)
{
    setObjectName(QLatin1String(noteName));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Every pixel is painted, so the bar below need not be drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(bar->font());
    const QFontMetrics metrics(font());
    // The text's top at y 2; the grey reaches down to the bar's bottom so
    // that nothing of the bar's own text shows below the note. Clipped by the
    // bar on the right when the bar is narrower than the text.
    const int height = std::max(metrics.height(), bar->height() - origin.y());
    setGeometry(QRect(origin, QSize(metrics.horizontalAdvance(m_text), height)));

    connect(bar, &QStatusBar::messageChanged, this, &ResolutionNote::remove);
    bar->installEventFilter(this);
}

ResolutionNote* ResolutionNote::show(QStatusBar* bar, const QString& text)
{
    if (!bar)
        return nullptr;
    dismiss(bar);
    auto* note = new ResolutionNote(bar, text);
    note->raise();
    note->QWidget::show();
    return note;
}

ResolutionNote* ResolutionNote::find(const QStatusBar* bar)
{
    if (!bar)
        return nullptr;
    for (ResolutionNote* note : bar->findChildren<ResolutionNote*>(QLatin1String(noteName), Qt::FindDirectChildrenOnly))
        if (!note->m_removed)
            return note;
    return nullptr;
}

void ResolutionNote::dismiss(QStatusBar* bar)
{
    if (ResolutionNote* note = find(bar))
        note->remove();
}

void ResolutionNote::remove()
{
    if (m_removed)
        return;
    m_removed = true;
    if (QWidget* bar = parentWidget())
        bar->removeEventFilter(this);
    hide();
    deleteLater();
}

void ResolutionNote::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), backColour);
    painter.setPen(textColour);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_text);
}

bool ResolutionNote::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget()) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::FontChange:
        case QEvent::StyleChange:
            remove();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
