#pragma once

// Comparison and printing of SettingsValues for the tests, and helpers shared by the test files.

#include "SettingsFile.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

inline bool operator==(const SettingsValues& a, const SettingsValues& b)
{
    // The step size is compared bit for bit so that -0 and 0 are told apart.
    return a.portName == b.portName && a.positions == b.positions && a.velocity == b.velocity
        && a.resolution == b.resolution && std::memcmp(&a.stepSize, &b.stepSize, sizeof a.stepSize) == 0
        && a.framing == b.framing;
}

inline void PrintTo(const SettingsValues& v, std::ostream* os)
{
    *os << "{" << v.portName;
    for (const auto& p : v.positions)
        *os << " (" << p[0] << "," << p[1] << "," << p[2] << ")";
    *os << " v=" << v.velocity << " r=" << v.resolution << " s=" << v.stepSize << " " << v.framing << "}";
}

// The settings line with default values.
inline const std::string defaultLine = "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 250 9600,N,8,1";

// Values and the exact line they are written as.
struct LineCase
{
    const char* name;
    SettingsValues values;
    std::string line;
};

inline void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

// Values that survive writing and reading unchanged, with the line each is written as.
inline std::vector<LineCase> lineCases()
{
    constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    return {
        { "Defaults", SettingsValues {}, defaultLine },
        { "NegativesAndHighResolution",
          { "COM2", { { { -1, -20, -300 }, { -4000, -50000, -600000 }, { 7, -8, 9 }, { -10, 11, -12 }, { -13, 14, -15 } } },
            1, 1021, 250.5f, "19200,E,7,2" },
          "COM2 -1 -20 -300 -4000 -50000 -600000 7 -8 9 -10 11 -12 -13 14 -15 1 1021 250.5 19200,E,7,2" },
        { "Int32LimitsAndHighestVelocity",
          { "COM4", { { { lo, hi, 0 }, { hi, lo, -1 }, { lo, lo, lo }, { hi, hi, hi }, { 1, lo, hi } } }, 32767, 1019,
            0.1f, "2400,O,8,2" },
          "COM4 -2147483648 2147483647 0 2147483647 -2147483648 -1 -2147483648 -2147483648 -2147483648 2147483647 "
          "2147483647 2147483647 1 -2147483648 2147483647 32767 1019 0.1 2400,O,8,2" },
        { "MillionStepZeroVelocity", { "COM3", {}, 0, 1021, 1e6f, "4800,N,8,1" },
          "COM3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1021 1e+06 4800,N,8,1" },
        { "SmallStepUsesExponent", { "COM1", {}, 1000, 1019, 1e-5f, "9600,N,8,1" },
          "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 1e-05 9600,N,8,1" },
        { "SmallStepWithoutExponent", { "COM1", {}, 1000, 1019, 0.0001f, "9600,N,8,1" },
          "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 0.0001 9600,N,8,1" },
        { "NegativeStepAndSixDigits", { "COM1", {}, 1000, 1019, -123.456f, "9600,N,8,1" },
          "COM1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 -123.456 9600,N,8,1" },
        { "FramingOfFifteenCharacters", { "COM2", {}, 1000, 1019, 250.0f, "19200,N,8,1,abc" },
          "COM2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 1019 250 19200,N,8,1,abc" },
    };
}
