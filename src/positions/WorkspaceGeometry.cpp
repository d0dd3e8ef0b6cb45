#include "WorkspaceGeometry.h"

#include "TravelLimits.h"

#include <cmath>

namespace {

constexpr qint64 kEdge = qint64{WorkspaceGeometry::half} * 25; // +12700 um in microsteps

// -1 below the workspace on an axis, +1 above it, 0 within it.
int beyond(qint64 microsteps)
{
    return microsteps < -kEdge ? -1 : microsteps > kEdge ? 1 : 0;
}

// A triangle with its tip on `tip`, pointing along (dx, dy): 12 pixels long
// and 13 wide across an edge, larger on a corner.
QPolygon arrow(const QPoint& tip, int dx, int dy)
{
    const QPoint d(dx, dy);
    const QPoint across(-dy * WorkspaceGeometry::arrowHalfWidth, dx * WorkspaceGeometry::arrowHalfWidth);
    const QPoint base = tip - d * WorkspaceGeometry::arrowLength;
    return QPolygon({tip, base + across, base - across});
}

} // namespace

WorkspaceGeometry::WorkspaceGeometry(int clientHeight)
    : m_extent(clientHeight - margin)
{
    if (m_extent > 0)
        m_scale = span / m_extent;
    if (m_scale <= 0)
        m_extent = 0; // a field taller than the span would have no scale
}

QRect WorkspaceGeometry::xyFrame() const
{
    return QRect(QPoint(65, 20), QPoint(m_extent + 72, m_extent + 27));
}

QRect WorkspaceGeometry::xyField() const
{
    return QRect(QPoint(67, 22), QPoint(m_extent + 70, m_extent + 25));
}

QRect WorkspaceGeometry::zFrame() const
{
    return QRect(QPoint(m_extent + 95, 20), QPoint(m_extent + m_extent / 18 + 102, m_extent + 27));
}

QRect WorkspaceGeometry::zBar() const
{
    return QRect(QPoint(m_extent + 97, 22), QPoint(m_extent + m_extent / 18 + 100, m_extent + 25));
}

WorkspaceGeometry::Label WorkspaceGeometry::label(int index) const
{
    const int e = m_extent;
    switch (index) {
    case 0:
        return {QPoint(10, 10), "-12700"};
    case 1:
        return {QPoint(40, e / 2 + 15), "Y"};
    case 2:
        return {QPoint(5, e + 15), "12700"};
    case 3:
        return {QPoint(e / 2 + 60, e + 40), "X"};
    default:
        return {QPoint(e + e / 36 + 93, e + 40), "Z"};
    }
}

int WorkspaceGeometry::pinned(qint64 microsteps, int first, int last) const
{
    if (microsteps < -kEdge)
        return first;
    if (microsteps > kEdge)
        return last;
    // (n x 0.04 + 12700) / s, truncated to a whole pixel (never negative here).
    return qMin(first + static_cast<int>((microsteps * 0.04 + half) / m_scale), last);
}

WorkspaceGeometry::Marker WorkspaceGeometry::marker(const Position& p) const
{
    Marker m;
    if (!isValid())
        return m;
    const QRect f = xyField();
    const QRect bar = zBar();
    const int dx = beyond(p.x), dy = beyond(p.y), dz = beyond(p.z);
    int cx = pinned(p.x, f.left(), f.right());
    int cy = pinned(p.y, f.top(), f.bottom());
    if (dx == 0 && dy == 0) {
        // The strokes reach 6 pixels before the centre and 5 after it.
        m.horizontal = QRect(QPoint(cx - 6, cy), QPoint(cx + 5, cy)) & f;
        m.vertical = QRect(QPoint(cx, cy - 6), QPoint(cx, cy + 5)) & f;
    } else {
        // Along an edge the arrow keeps clear of the corners, so it shows whole.
        if (dx == 0)
            cx = qBound(f.left() + arrowHalfWidth, cx, f.right() - arrowHalfWidth);
        if (dy == 0)
            cy = qBound(f.top() + arrowHalfWidth, cy, f.bottom() - arrowHalfWidth);
        m.xyArrow = arrow(QPoint(cx, cy), dx, dy);
    }
    const int cz = pinned(p.z, bar.top(), bar.bottom());
    if (dz == 0)
        m.zTick = QRect(QPoint(bar.left(), cz), QPoint(bar.right(), cz));
    else
        m.zArrow = arrow(QPoint(bar.left() + bar.width() / 2, cz), 0, dz);
    return m;
}

std::pair<int, int> WorkspaceGeometry::allowed(const TravelLimits& limits, int axis, int first, int last) const
{
    const TravelLimits::Range& r = limits.range(axis);
    if ((r.lower && *r.lower > kEdge) || (r.upper && *r.upper < -kEdge))
        return {first, first - 1}; // the limits leave out the whole workspace
    return {r.lower ? pinned(*r.lower, first, last) : first, r.upper ? pinned(*r.upper, first, last) : last};
}

QRect WorkspaceGeometry::xyAllowed(const TravelLimits& limits) const
{
    if (!isValid())
        return QRect();
    const QRect f = xyField();
    const auto [left, right] = allowed(limits, 0, f.left(), f.right());
    const auto [top, bottom] = allowed(limits, 1, f.top(), f.bottom());
    if (left > right || top > bottom)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QRect WorkspaceGeometry::zAllowed(const TravelLimits& limits) const
{
    if (!isValid())
        return QRect();
    const QRect bar = zBar();
    const auto [top, bottom] = allowed(limits, 2, bar.top(), bar.bottom());
    if (top > bottom)
        return QRect();
    return QRect(QPoint(bar.left(), top), QPoint(bar.right(), bottom));
}

std::vector<QRect> WorkspaceGeometry::limitLines(const TravelLimits& limits) const
{
    std::vector<QRect> lines;
    const QRect xy = xyAllowed(limits);
    const QRect z = zAllowed(limits);
    auto inWorkspace = [](const std::optional<std::int64_t>& limit) { return limit && beyond(*limit) == 0; };
    if (!xy.isEmpty()) {
        if (inWorkspace(limits.range(0).lower))
            lines.emplace_back(xy.left(), xy.top(), 1, xy.height());
        if (inWorkspace(limits.range(0).upper))
            lines.emplace_back(xy.right(), xy.top(), 1, xy.height());
        if (inWorkspace(limits.range(1).lower))
            lines.emplace_back(xy.left(), xy.top(), xy.width(), 1);
        if (inWorkspace(limits.range(1).upper))
            lines.emplace_back(xy.left(), xy.bottom(), xy.width(), 1);
    }
    if (!z.isEmpty()) {
        if (inWorkspace(limits.range(2).lower))
            lines.emplace_back(z.left(), z.top(), z.width(), 1);
        if (inWorkspace(limits.range(2).upper))
            lines.emplace_back(z.left(), z.bottom(), z.width(), 1);
    }
    return lines;
}

int WorkspaceGeometry::xAt(int px) const
{
    return px == m_extent + 70 ? half : (px - 67) * m_scale - half;
}

int WorkspaceGeometry::rowAt(int py) const
{
    return py == m_extent + 25 ? half : (py - 22) * m_scale - half;
}

WorkspaceGeometry::Area WorkspaceGeometry::areaAt(const QPoint& p) const
{
    if (!isValid())
        return Area::None;
    if (xyField().contains(p))
        return Area::XyField;
    if (zBar().contains(p))
        return Area::ZBar;
    return Area::None;
}
