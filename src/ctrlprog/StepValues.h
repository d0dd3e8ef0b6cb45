#pragma once

#include <cstdint>

// One program step as the conversions see it, in plain integers. Going to the
// controller, velocity holds the 16-bit velocity word (0 to 65535); coming
// back, it holds the controller's signed 32-bit velocity field (the word
// sign-extended, so high resolution arrives negative). X, Y, Z are microsteps
// (0.04 um). A step whose four values are 0 is a pause step.
struct StepValues
{
    std::int32_t velocity = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;

    bool isPause() const { return velocity == 0 && x == 0 && y == 0 && z == 0; }
    bool operator==(const StepValues& o) const { return velocity == o.velocity && x == o.x && y == o.y && z == o.z; }
    bool operator!=(const StepValues& o) const { return !(*this == o); }
};
