#include "ProgramPreload.h"

#include "ProgramFileReader.h"

#include <cstdint>
#include <vector>

namespace qx410sim {

namespace {

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

} // namespace

ProgramPreload::ProgramPreload(SimController& controller)
    : m_controller(controller)
{
}

std::string ProgramPreload::add(const std::string& argument)
{
    int number = 0;
    std::string path = argument;
    const std::size_t equals = argument.find('=');
    if (equals != std::string::npos && equals > 0 && equals <= 2
        && argument.find_first_not_of("0123456789") == equals) {
        number = std::stoi(argument.substr(0, equals));
        path = argument.substr(equals + 1);
        if (number < 1 || number > SimController::kProgramCount)
            return "program numbers are 1 to 10: " + argument;
    } else {
        for (int n = 1; n <= SimController::kProgramCount && number == 0; ++n) {
            if (!m_used[n - 1])
                number = n;
        }
        if (number == 0)
            return "all ten programs are already preloaded: " + argument;
    }

    // The simulated controller knows no travel limits, as the real one.
    const ProgramFileReader::Result read =
        ProgramFileReader::load(path, SimController::kPowerUpVelocityWord, TravelLimits());
    switch (read.outcome) {
    case ProgramFileReader::Outcome::Loaded:
        break;
    case ProgramFileReader::Outcome::NoSteps:
        return "no Move or Pause line in " + path;
    case ProgramFileReader::Outcome::CannotLoad:
        return "cannot read " + path;
    case ProgramFileReader::Outcome::TooManySteps:
        return "more than 32767 steps in " + path;
    case ProgramFileReader::Outcome::Refused:
        return "line " + std::to_string(read.line) + " of " + path + " "
            + std::string(HostCommand::refusalText(read.refusal));
    case ProgramFileReader::Outcome::OutsideLimits: // no limits given
        return "line " + std::to_string(read.line) + " of " + path + " "
            + TravelLimits::lineReason(read.breach);
    }

    // The store-program command with its steps, as the host sends it.
    std::vector<std::uint8_t> bytes{'d'};
    put(bytes, static_cast<std::uint32_t>(number), 2);
    put(bytes, static_cast<std::uint32_t>(read.steps.size()), 2);
    bytes.push_back(SimController::kCr);
    for (const StepValues& step : read.steps) {
        put(bytes, static_cast<std::uint32_t>(step.velocity), 2);
        for (std::int32_t v : {step.x, step.y, step.z})
            put(bytes, static_cast<std::uint32_t>(v), 4);
    }
    m_controller.receive(bytes.data(), bytes.size(), 0);
    m_controller.takeOutput(0);
    m_used[number - 1] = true;
    return std::string();
}

} // namespace qx410sim
