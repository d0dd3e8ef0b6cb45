#include "HostCommand.h"

#include "CommandLimits.h"

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

std::string_view HostCommand::refusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::BareCr:
        return "holds a CR that is not followed by LF, so the lines of the file run together (lines must end in CR LF)";
    case Refusal::LineTooLong:
        static_assert(CommandLimits::lineChars == 118, "the text names the limit");
        return "is longer than 118 characters, so a number it uses would be cut off";
    case Refusal::NumberTooLong:
        static_assert(CommandLimits::fieldChars == 11, "the text names the limit");
        return "holds a number longer than 11 characters";
    case Refusal::BeyondRange:
        return "moves beyond the controller's range (more than 85899345 \xC2\xB5m from the origin)";
    case Refusal::None:
        break;
    }
    return {};
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
    return kind == other.kind && x == other.x && y == other.y && z == other.z && v == other.v
        && refusal == other.refusal;
}
