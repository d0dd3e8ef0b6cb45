#pragma once

// Readable failure messages for the command-file tests: lines with their CR,
// LF and other control bytes spelled out.

#include "HostCommand.h"

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

inline std::string visible(std::string_view bytes)
{
    std::string out = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (u < 0x20 || u >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        } else
            out += c;
    }
    out += "\"";
    if (out.size() > 64) // kept short: the test names show it
        out = out.substr(0, 36) + "..." + out.substr(out.size() - 20) + " (" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

inline void PrintTo(const HostCommand& c, std::ostream* os)
{
    *os << HostCommand::name(c.kind) << "{x " << c.x << ", y " << c.y << ", z " << c.z << ", v " << c.v << "}";
    if (c.refused())
        *os << " refused: " << HostCommand::refusalText(c.refusal);
}
