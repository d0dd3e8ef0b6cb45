#pragma once

// What the operator picks in the Resolution dialog: high resolution
// (0.04 um steps) or low resolution (0.20 um steps).
struct ResolutionChoice {
    bool high = false;

    friend bool operator==(const ResolutionChoice& a, const ResolutionChoice& b) { return a.high == b.high; }
    friend bool operator!=(const ResolutionChoice& a, const ResolutionChoice& b) { return !(a == b); }
};
