#include "CommandLines.h"

namespace {
std::string speed(const char* keyword, CommandLines::Writer writer, std::int32_t velocity)
{
    std::string line = keyword;
    line += writer == CommandLines::Writer::Upload ? ",  " : ", ";
    line += std::to_string(velocity);
    return line;
}
} // namespace

std::string CommandLines::move(std::int32_t x, std::int32_t y, std::int32_t z)
{
    return "Move, " + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(z);
}

std::string CommandLines::high(Writer writer, std::int32_t velocity)
{
    return speed("High", writer, velocity);
}

std::string CommandLines::low(Writer writer, std::int32_t velocity)
{
    return speed("Low", writer, velocity);
}

std::string CommandLines::pause(Writer writer)
{
    return writer == Writer::Upload ? "Pause  " : "Pause ";
}

std::string CommandLines::status(const std::array<int, statusCount>& numbers)
{
    std::string line = "Status, ";
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            line += ',';
        line += std::to_string(numbers[i]);
    }
    return line;
}
