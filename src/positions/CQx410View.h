#pragma once

#include "Position.h"

#include <QWidget>
#include <functional>

// The main window's client area. It keeps where the position marker was
// last drawn and asks the main window to refresh the caption and the
// connection text whenever it is drawn.
class CQx410View : public QWidget
{
    Q_OBJECT
public:
    explicit CQx410View(QWidget* parent = nullptr);

    void setOnPaint(std::function<void()> onPaint) { m_onPaint = std::move(onPaint); }
    // Erase the marker at `from`, draw it at `to` (microsteps).
    void moveMarker(const Position& from, const Position& to);
    Position marker() const { return m_marker; }

public slots:
    // The capture editor has closed: the view forgets it.
    void onCaptureClosed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> m_onPaint;
    Position m_marker;
};
