#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Micrometres written as text, into the controller's microsteps (0.04 µm,
// 25 per micrometre). One reader for every place that takes micrometres from
// a person: qx410ctl's words, the travel limits' fields and file.
class Microns {
public:
    static constexpr std::int64_t microstepsPerMicron = 25;

    // Whether an exponent may follow the digits: qx410ctl's words take one,
    // as its other numbers do; the travel limits' fields and file do not.
    enum class Exponent { Refused, Allowed };

    // The microsteps nearest to the micrometres written in text: an optional
    // sign, digits with an optional decimal point, an exponent where allowed
    // ("12", "-0.04", "7.", ".5", "1e3"), and nothing else, not even a blank.
    // Halves of a microstep are rounded away from zero, and the decimal text
    // is converted exactly, so 100.02 is 2500.5 microsteps and gives 2501. A
    // number beyond what 64 bits carry comes back as a value far outside the
    // controller's range; nothing when text is no such number.
    static std::optional<std::int64_t> parse(std::string_view text, Exponent exponent = Exponent::Refused);

    // Whether microsteps fit the controller's signed 32-bit positions
    // (-85899345.92 to 85899345.88 µm).
    static bool fitsController(std::int64_t microsteps);
};
