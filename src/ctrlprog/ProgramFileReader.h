#pragma once

#include "HostCommand.h"
#include "StepValues.h"
#include "TravelLimits.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <vector>

// Turns a command file into the steps the controller stores: a Move line is a
// step at the velocity word in force (x, y, z times 25), a Pause line a pause
// step, a High or Low line changes the velocity word for the following moves,
// and everything else is skipped. Each file starts from the velocity word of
// the main window's velocity and resolution settings. A Move line whose
// target leaves the travel limits refuses the whole file: the controller
// runs the steps without the host and knows nothing of the limits.
class ProgramFileReader
{
public:
    // This reader's keyword buffer is larger than the executing readers'.
    static constexpr std::size_t keywordChars = 20;
    // The controller's step count is 16 bits and signed on the host side.
    static constexpr std::size_t maxSteps = 32767;

    enum class Outcome {
        Loaded,       // at least one step
        NoSteps,      // readable, but no Move or Pause line
        CannotLoad,   // cannot be opened, or a read failed part way
        TooManySteps, // more steps than the count can announce
        Refused,      // a line ParseHostCommand refused (see HostCommand::Refusal)
        OutsideLimits, // a Move line whose target leaves the travel limits
    };

    struct Result
    {
        Outcome outcome = Outcome::NoSteps;
        std::vector<StepValues> steps; // empty unless Loaded
        std::size_t line = 0;          // Refused, OutsideLimits: the line number (from 1)
        HostCommand::Refusal refusal = HostCommand::Refusal::None; // Refused: why
        TravelLimits::Breach breach;   // OutsideLimits: where the line's target leaves them
    };

    static Result read(std::istream& in, std::uint16_t startWord, const TravelLimits& limits);
    static Result load(const std::filesystem::path& path, std::uint16_t startWord, const TravelLimits& limits);
};
