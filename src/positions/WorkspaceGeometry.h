#pragma once

#include "Position.h"

#include <QRect>

// The plan of the workspace for one client-area height: the field extent,
// the whole-number scale in micrometres per pixel, the frames and interiors
// of the XY field and the Z bar, the label places, the position marker, and
// the conversion from a pixel to micrometres. Rectangles are inclusive
// QRects of the pixels they cover.
class WorkspaceGeometry
{
public:
    static constexpr int margin = 100; // client height not used by the field
    static constexpr int span = 25400; // micrometres from -12700 to 12700
    static constexpr int half = 12700;

    // Geometry for a client area this many pixels high. With 100 pixels or
    // fewer there is no field: isValid() is false and nothing is hit.
    explicit WorkspaceGeometry(int clientHeight = 0);

    bool isValid() const { return m_extent > 0; }
    int extent() const { return m_extent; }
    int scale() const { return m_scale; }

    QRect xyFrame() const;
    QRect xyField() const;
    QRect zFrame() const;
    QRect zBar() const;

    struct Label
    {
        QPoint topLeft;
        const char* text;
    };
    // "-12700", "Y", "12700", "X", "Z" at their top-left points.
    Label label(int index) const;
    static constexpr int labelCount = 5;

    // The marker's horizontal and vertical strokes in the XY field and its
    // tick in the Z bar, for a position in microsteps (one pixel thick).
    struct Marker
    {
        QRect horizontal;
        QRect vertical;
        QRect zTick;
    };
    Marker marker(const Position& microsteps) const;

    // Micrometres for a pixel column of the XY field; the last column stands
    // for +12700 exactly.
    int xAt(int px) const;
    // Micrometres for a pixel row (Y in the field, Z in the bar); the last
    // row stands for +12700 exactly.
    int rowAt(int py) const;

    enum class Area { None, XyField, ZBar };
    Area areaAt(const QPoint& p) const;

private:
    int planCoordinate(qint32 microsteps) const;

    int m_extent = 0;
    int m_scale = 0;
};
