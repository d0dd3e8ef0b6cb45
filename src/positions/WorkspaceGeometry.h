#pragma once

#include "Position.h"

#include <QPolygon>
#include <QRect>
#include <vector>

class TravelLimits;

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

    // The marker for a position in microsteps; it never leaves the field and
    // the bar. Within the workspace (+-12700 um on an axis) it is the cross of
    // a horizontal and a vertical stroke in the XY field and a tick across
    // the Z bar (one pixel thick); where the whole-number scale leaves the
    // field short of +12700 it stands on the last column or row, which stand
    // for +12700, and strokes are cut at the field's edge. A position beyond
    // the workspace on X or Y (after a relative program, say) is an arrow on
    // the field's edge pointing outward, towards where it lies (on a corner
    // when both are beyond); beyond it on Z, an arrow at the top or bottom of
    // the bar. A stroke or arrow not drawn is empty.
    struct Marker
    {
        QRect horizontal;
        QRect vertical;
        QRect zTick;
        QPolygon xyArrow;
        QPolygon zArrow;
    };
    Marker marker(const Position& microsteps) const;
    // The arrow's length from tip to base, and half its base, in pixels.
    static constexpr int arrowLength = 12;
    static constexpr int arrowHalfWidth = 6;

    // The pixels of the XY field and the Z bar whose micrometres the travel
    // limits allow, by the marker's mapping (a marker at a limit stands on an
    // allowed pixel): the whole field and bar without limits, empty when the
    // limits leave no part of the workspace. The rest is drawn shaded.
    QRect xyAllowed(const TravelLimits& limits) const;
    QRect zAllowed(const TravelLimits& limits) const;
    // A one-pixel line along the edge of the allowed part for every limit
    // that is set and lies in the workspace.
    std::vector<QRect> limitLines(const TravelLimits& limits) const;

    // Micrometres for a pixel column of the XY field; the last column stands
    // for +12700 exactly.
    int xAt(int px) const;
    // Micrometres for a pixel row (Y in the field, Z in the bar); the last
    // row stands for +12700 exactly.
    int rowAt(int py) const;

    enum class Area { None, XyField, ZBar };
    Area areaAt(const QPoint& p) const;

private:
    // The column (or row, from `first`) of a value in the workspace,
    // pinned to the last one; last for values beyond +12700, first below -12700.
    int pinned(qint64 microsteps, int first, int last) const;
    // The allowed pixels of one axis between first and last, as a pair
    // (empty when first > second).
    std::pair<int, int> allowed(const TravelLimits& limits, int axis, int first, int last) const;

    int m_extent = 0;
    int m_scale = 0;
};
