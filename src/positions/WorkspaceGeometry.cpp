#include "WorkspaceGeometry.h"

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

int WorkspaceGeometry::planCoordinate(qint32 microsteps) const
{
    // (n x 0.04 + 12700) / s, truncated toward zero to a whole pixel.
    return static_cast<int>((microsteps * 0.04 + half) / m_scale);
}

WorkspaceGeometry::Marker WorkspaceGeometry::marker(const Position& p) const
{
    const int u = planCoordinate(p.x);
    const int v = planCoordinate(p.y);
    const int w = planCoordinate(p.z);
    const int e = m_extent;
    // Strokes include their start point and exclude their end point.
    return {QRect(QPoint(u + 61, v + 22), QPoint(u + 72, v + 22)), QRect(QPoint(u + 67, v + 16), QPoint(u + 67, v + 27)),
            QRect(QPoint(e + 97, w + 22), QPoint(e + e / 18 + 100, w + 22))};
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
