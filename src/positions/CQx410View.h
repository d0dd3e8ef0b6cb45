#pragma once

#include "Position.h"
#include "TravelLimits.h"
#include "WorkspaceGeometry.h"

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

struct ControlState;

// The main window's client area: the plan of the workspace with the XY
// field, the Z bar and the position marker. A click in the field or the bar
// moves the manipulator there; moving the mouse over them shows the pointed
// coordinates. The view also keeps the one modeless capture dialog.
//
// The plan is drawn into an image at the screen's pixel ratio; the marker
// refresh draws on that image directly and shows just the marker's pixels,
// without a full repaint.
class CQx410View : public QWidget
{
    Q_OBJECT
public:
    static const QColor background;
    static const QColor fieldColour;
    static const QColor markerColour;
    // What lies outside the travel limits: the field colour darkened and
    // hatched; the limits themselves are lines in the limit colour.
    static const QColor shadeColour;
    static const QColor hatchColour;
    static const QColor limitColour;

    // state: the control layer's, read for the marker and the busy flag.
    explicit CQx410View(ControlState& state, QWidget* parent = nullptr);

    // Called at every paint, before drawing (the caption and connection text).
    void setOnPaint(std::function<void()> onPaint) { m_onPaint = std::move(onPaint); }
    // A click asks for a move to this target (microsteps): the pointed
    // coordinates, the other axes from the current position.
    void setOnMove(std::function<void(const Position&)> onMove) { m_onMove = std::move(onMove); }
    // Shows a desired coordinate: axis 0, 1, 2 for X, Y, Z; text with its tab.
    void setOnDesired(std::function<void(int, const QString&)> onDesired) { m_onDesired = std::move(onDesired); }

    // Erase the marker at `from`, draw it at `to` (microsteps), at once.
    void refreshMarker(const Position& from, const Position& to);
    // The travel limits the plan shades; drawn again at once.
    void setTravelLimits(const TravelLimits& limits);
    // The geometry of the last paint; invalid before the first paint.
    const WorkspaceGeometry& geometryOfLastPaint() const { return m_hit; }
    // Sets the pointer shape for where the mouse last was over the view, so
    // the hourglass of a move gives way when the move ends, without waiting
    // for the mouse to move.
    void updatePointer();
    // The plan as last drawn, in device pixels.
    const QImage& plan() const { return m_plan; }

    // Capture Commands: activates the capture dialog the view holds, or
    // creates one with the factory, keeps it and shows it.
    void openCapture(const std::function<QDialog*(QWidget* owner)>& factory);
    QDialog* capture() const { return m_capture; }

public slots:
    // The capture dialog has closed: the view forgets it.
    void onCaptureClosed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void drawPlan();
    void drawLimits(QPainter& painter, const WorkspaceGeometry& g);
    // The plan without the marker, then the marker at `p` on it.
    void showMarkerAt(const Position& p);
    // The pixels a marker covers, for repainting them.
    static QRegion markerRegion(const WorkspaceGeometry::Marker& m);
    void clickToMove(const QPoint& p);
    void setPointer(const QPoint& p);

    ControlState& m_state;
    std::function<void()> m_onPaint;
    std::function<void(const Position&)> m_onMove;
    std::function<void(int, const QString&)> m_onDesired;
    TravelLimits m_limits;
    QImage m_base; // the plan without the marker
    QImage m_plan;
    bool m_planStale = true;
    WorkspaceGeometry m_hit; // none until the first paint
    QPointer<QDialog> m_capture;
    std::optional<QPoint> m_pointer; // the mouse over the view, none once it has left
};
