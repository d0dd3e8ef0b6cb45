#pragma once

#include <QString>
#include <array>

// What Setup ▸ Travel Limits collects: the six fields as typed, per axis the
// lower and the upper limit in micrometres (fractions allowed), empty where
// there is none.
struct TravelLimitsChoice {
    static constexpr int fieldCount = 6;
    // The field of an axis (0, 1, 2 for X, Y, Z) and side.
    static constexpr int field(int axis, bool lower) { return axis * 2 + (lower ? 0 : 1); }
    static constexpr int axisOf(int field) { return field / 2; }
    static constexpr bool isLower(int field) { return field % 2 == 0; }

    std::array<QString, fieldCount> fields;
};
