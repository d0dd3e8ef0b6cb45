#include "HostCommand.h"

#include <cstdint>

std::uint16_t HostCommand::velocityWord() const
{
    // Unsigned arithmetic: the wrap to 16 bits is exact for every v.
    const std::uint32_t velocity = static_cast<std::uint32_t>(v);
    switch (kind) {
    case Kind::High:
        return static_cast<std::uint16_t>((velocity - 0x8000u) & 0xFFFFu);
    case Kind::Low:
        return static_cast<std::uint16_t>(velocity & 0xFFFFu);
    case Kind::Move:
    case Kind::Pause:
    case Kind::Other:
        break;
    }
    return 0;
}

bool HostCommand::micronsFit(std::int32_t microns)
{
    constexpr std::int32_t limit = INT32_MAX / 25;
    return microns >= -limit && microns <= limit;
}

bool HostCommand::microstepsFit() const
{
    return kind != Kind::Move || (micronsFit(x) && micronsFit(y) && micronsFit(z));
}

std::string_view HostCommand::name(Kind kind)
{
    switch (kind) {
    case Kind::Move:
        return "Move";
    case Kind::High:
        return "High";
    case Kind::Low:
        return "Low";
    case Kind::Pause:
        return "Pause";
    case Kind::Other:
        break;
    }
    return "Other";
}

bool HostCommand::operator==(const HostCommand& other) const
{
    return kind == other.kind && x == other.x && y == other.y && z == other.z && v == other.v;
}
