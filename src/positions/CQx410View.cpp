#include "CQx410View.h"

#include "ControlState.h"

#include <QDialog>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

const QColor CQx410View::background(210, 210, 210);
const QColor CQx410View::fieldColour(220, 220, 235);
const QColor CQx410View::markerColour(128, 0, 0);
const QColor CQx410View::shadeColour(196, 196, 208);
const QColor CQx410View::hatchColour(160, 160, 178);
const QColor CQx410View::limitColour(200, 110, 0);

namespace {

// A sunken edge two pixels wide: dark on the top and left, light on the
// bottom and right, like a recessed panel.
void drawSunkenEdge(QPainter& p, const QRect& r)
{
    const QColor shadow(128, 128, 128), darkShadow(64, 64, 64), light(255, 255, 255), midLight(227, 227, 227);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), shadow);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), shadow);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), light);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), light);
    const QRect inner = r.adjusted(1, 1, -1, -1);
    p.fillRect(QRect(inner.left(), inner.top(), inner.width(), 1), darkShadow);
    p.fillRect(QRect(inner.left(), inner.top(), 1, inner.height()), darkShadow);
    p.fillRect(QRect(inner.left(), inner.bottom(), inner.width(), 1), midLight);
    p.fillRect(QRect(inner.right(), inner.top(), 1, inner.height()), midLight);
}

} // namespace

CQx410View::CQx410View(ControlState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Takes the focus by a click or Tab, for the keyboard jog.
    setFocusPolicy(Qt::StrongFocus);
}

void CQx410View::setTravelLimits(const TravelLimits& limits)
{
    if (limits == m_limits)
        return;
    m_limits = limits;
    m_planStale = true;
    update();
}

void CQx410View::resizeEvent(QResizeEvent* event)
{
    m_planStale = true;
    QWidget::resizeEvent(event);
}

void CQx410View::paintEvent(QPaintEvent* event)
{
    if (m_onPaint)
        m_onPaint();
    const qreal ratio = devicePixelRatioF();
    if (m_planStale || m_plan.size() != size() * ratio || !qFuzzyCompare(m_plan.devicePixelRatio(), ratio))
        drawPlan();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_plan, QRectF(event->rect().topLeft() * ratio, event->rect().size() * ratio));
    if (hasFocus() && m_hit.isValid()) {
        // A dotted line round the XY frame while the keys jog the manipulator.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(m_hit.xyFrame().adjusted(-2, -2, 1, 1));
    }
}

void CQx410View::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void CQx410View::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void CQx410View::drawPlan()
{
    const qreal ratio = devicePixelRatioF();
    m_base = QImage(size() * ratio, QImage::Format_RGB32);
    m_base.setDevicePixelRatio(ratio);
    m_base.fill(background);
    m_planStale = false;

    const WorkspaceGeometry g(height());
    m_hit = g;
    if (!g.isValid()) {
        m_plan = m_base;
        return;
    }
    QPainter painter(&m_base);
    drawSunkenEdge(painter, g.xyFrame());
    drawSunkenEdge(painter, g.zFrame());
    painter.fillRect(g.zBar(), fieldColour);
    painter.fillRect(g.xyField(), fieldColour);
    drawLimits(painter, g);

    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(background);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    for (int i = 0; i < WorkspaceGeometry::labelCount; ++i) {
        const WorkspaceGeometry::Label label = g.label(i);
        painter.drawText(QRect(label.topLeft, QSize(200, 100)), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromLatin1(label.text));
    }
    painter.end();
    // The marker stands where it was last drawn, the manipulator's last known
    // position: during a move the current position already holds the target,
    // and a marker drawn there would stay behind when the move is stopped.
    showMarkerAt(m_state.lastDrawn);
}

void CQx410View::drawLimits(QPainter& painter, const WorkspaceGeometry& g)
{
    if (!m_limits.any())
        return;
    // Outside the limits: a darker field, hatched, so it reads as "not here"
    // at a glance and differs from the background round the plan.
    const QRegion outside = QRegion(g.xyField()).subtracted(QRegion(g.xyAllowed(m_limits)))
        + QRegion(g.zBar()).subtracted(QRegion(g.zAllowed(m_limits)));
    painter.save();
    painter.setClipRegion(outside);
    for (const QRect& area : {g.xyField(), g.zBar()}) {
        painter.fillRect(area, shadeColour);
        painter.fillRect(area, QBrush(hatchColour, Qt::BDiagPattern));
    }
    painter.restore();
    for (const QRect& line : g.limitLines(m_limits))
        painter.fillRect(line, limitColour);
}

void CQx410View::showMarkerAt(const Position& p)
{
    m_plan = m_base.copy();
    const WorkspaceGeometry::Marker m = m_hit.marker(p);
    QPainter painter(&m_plan);
    painter.fillRect(m.horizontal, markerColour);
    painter.fillRect(m.vertical, markerColour);
    painter.fillRect(m.zTick, markerColour);
    // An arrow at an edge is cut to its field or bar, so it never covers the
    // frame or the labels.
    painter.setPen(Qt::NoPen);
    painter.setBrush(markerColour);
    for (const auto& [arrow, area] : {std::pair{m.xyArrow, m_hit.xyField()}, std::pair{m.zArrow, m_hit.zBar()}}) {
        if (arrow.isEmpty())
            continue;
        painter.setClipRect(area);
        painter.drawPolygon(arrow);
    }
}

QRegion CQx410View::markerRegion(const WorkspaceGeometry::Marker& m)
{
    QRegion r = QRegion(m.horizontal) + m.vertical + m.zTick;
    for (const QPolygon& arrow : {m.xyArrow, m.zArrow}) {
        if (!arrow.isEmpty())
            r += arrow.boundingRect().adjusted(-1, -1, 1, 1);
    }
    return r;
}

void CQx410View::refreshMarker(const Position& from, const Position& to)
{
    if (m_planStale || !m_hit.isValid()) {
        update(); // nothing drawn yet: the next paint draws the marker
        return;
    }
    // The plan without the marker, with the marker at its new place: the
    // old one goes without a trace of the field colour over the shading.
    showMarkerAt(to);
    repaint(markerRegion(m_hit.marker(from)) + markerRegion(m_hit.marker(to)));
}

void CQx410View::clickToMove(const QPoint& p)
{
    if (m_state.busy)
        return;
    const WorkspaceGeometry::Area area = m_hit.areaAt(p);
    if (area == WorkspaceGeometry::Area::None)
        return;
    setCursor(Qt::CrossCursor);
    // The target: the pointed coordinates, the other axes where the
    // manipulator stands. The main window makes it the current position only
    // once the target has passed its checks.
    Position target = m_state.current;
    if (area == WorkspaceGeometry::Area::XyField) {
        target.x = m_hit.xAt(p.x()) * 25;
        target.y = m_hit.rowAt(p.y()) * 25;
    } else {
        target.z = m_hit.rowAt(p.y()) * 25;
    }
    if (m_onMove)
        m_onMove(target);
}

void CQx410View::setPointer(const QPoint& p)
{
    if (m_hit.areaAt(p) == WorkspaceGeometry::Area::None)
        setCursor(Qt::ArrowCursor);
    else
        setCursor(m_state.busy ? Qt::WaitCursor : Qt::CrossCursor);
}

void CQx410View::updatePointer()
{
    if (m_pointer)
        setPointer(*m_pointer);
}

void CQx410View::leaveEvent(QEvent* event)
{
    m_pointer.reset();
    QWidget::leaveEvent(event);
}

void CQx410View::mousePressEvent(QMouseEvent* event)
{
    m_pointer = event->position().toPoint();
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        clickToMove(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void CQx410View::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        clickToMove(event->position().toPoint());
}

void CQx410View::mouseReleaseEvent(QMouseEvent* event)
{
    m_pointer = event->position().toPoint();
    setPointer(*m_pointer);
}

void CQx410View::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_pointer = p;
    setPointer(p);
    if (!m_state.busy && m_onDesired) {
        const WorkspaceGeometry::Area area = m_hit.areaAt(p);
        if (area == WorkspaceGeometry::Area::XyField) {
            m_onDesired(0, QStringLiteral("\t%1").arg(m_hit.xAt(p.x())));
            m_onDesired(1, QStringLiteral("\t%1").arg(m_hit.rowAt(p.y())));
        } else if (area == WorkspaceGeometry::Area::ZBar) {
            m_onDesired(2, QStringLiteral("\t%1").arg(m_hit.rowAt(p.y())));
        }
    }
    QWidget::mouseMoveEvent(event);
}

void CQx410View::openCapture(const std::function<QDialog*(QWidget* owner)>& factory)
{
    if (m_capture) {
        m_capture->raise();
        m_capture->activateWindow();
        return;
    }
    m_capture = factory(this);
    if (m_capture)
        m_capture->show();
}

void CQx410View::onCaptureClosed()
{
    m_capture = nullptr;
}
