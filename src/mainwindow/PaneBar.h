#pragma once

#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QWidget>

class QPaintEvent;
class QMouseEvent;

// The main window's status bar: a row of panes laid out left to right from
// x = 0 with a small gap between them, each with a fixed width, an optional
// sunken frame and one line of text.
//
// Pane text places itself by its leading tabs: none is left aligned, one
// centres the rest, two align it to the right. Text that does not fit is
// elided. Tooltips come from rectangles registered with addToolTipArea(),
// in the bar's own pixel coordinates. A double-click reports the pane under
// the pointer; a disabled bar takes no double-clicks and greys its text.
class PaneBar : public QWidget
{
    Q_OBJECT

public:
    struct Pane {
        int width;
        bool border;
        QString text;
    };

    // A pane's text width plus its borders and inner space: a pane of width
    // 115 covers 121 pixels, and the next pane starts 2 pixels further on.
    static constexpr int padding = 6;
    static constexpr int gap = 2;          // between neighbouring panes
    static constexpr int topMargin = 2;    // above every pane
    static constexpr int textMargin = 3;   // left and right of the text, inside the pane
    static constexpr int barHeight = 24;

    explicit PaneBar(QWidget* parent = nullptr);

    void setPanes(const QList<Pane>& panes);
    int paneCount() const;
    // Out-of-range indexes are ignored (set) or give an empty string (get).
    void setPaneText(int index, const QString& text);
    QString paneText(int index) const;

    // The pane containing pos, or -1 outside every pane (gaps included).
    int paneAt(const QPoint& pos) const;
    // The rectangle a pane occupies, its frame included; empty when out of range.
    QRect paneRect(int index) const;

    // Areas are tried in the order they were added; the first one containing
    // the point gives the tooltip.
    void addToolTipArea(const QRect& area, const QString& text);
    QString toolTipAt(const QPoint& pos) const;

    // How a pane text places itself, and what remains to be shown.
    static Qt::Alignment alignmentOf(const QString& text);
    static QString displayText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // pane is paneAt() of the double-click position, -1 between or beside panes.
    void paneDoubleClicked(int pane);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int toolTipAreaAt(const QPoint& pos) const;

    QList<Pane> m_panes;
    QList<QPair<QRect, QString>> m_toolTipAreas;
};
