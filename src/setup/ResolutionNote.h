#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>

class QStatusBar;

// The one-line note the Resolution dialog draws over the main window's
// message bar: dark red text on light grey, its top left corner at x 0, y 2
// of the bar. It is drawn over the bar, not stored as the bar's text, and
// goes away as soon as the bar is drawn anew for a reason of its own: its
// message changes (a menu, toolbar or panel help text, the idle text), the
// bar is resized or hidden, or its font or style changes. A bar holds at
// most one note; a new note replaces the old one.
//
// Hook it to the main window with
//     ResolutionNote::show(statusBar(), text);
// nothing else needs wiring. The note takes no mouse input.
class ResolutionNote : public QWidget {
    Q_OBJECT

public:
    static const QColor textColour; // red 128, green 0, blue 0
    static const QColor backColour; // red 192, green 192, blue 192
    static const QPoint origin; // x 0, y 2 in the bar

    // Draws text over bar. Returns the note, owned by the bar; null when
    // there is no bar.
    static ResolutionNote* show(QStatusBar* bar, const QString& text);
    // The note now over bar, if any.
    static ResolutionNote* find(const QStatusBar* bar);
    // Removes the note over bar, if any.
    static void dismiss(QStatusBar* bar);

    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ResolutionNote(QStatusBar* bar, const QString& text);
    void remove();

    QString m_text;
    bool m_removed = false;
};
