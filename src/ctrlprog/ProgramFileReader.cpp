#include "ProgramFileReader.h"

#include "CommandFile.h"
#include "LineReader.h"
#include "ParseHostCommand.h"

#include <fstream>
#include <string>

ProgramFileReader::Result ProgramFileReader::read(std::istream& in, std::uint16_t startWord,
                                                  const TravelLimits& limits)
{
    Result result;
    std::vector<StepValues> steps;
    std::uint16_t word = startWord;
    LineReader reader(in);
    std::string line;
    std::size_t lineNumber = 0;
    while (reader.next(line)) {
        ++lineNumber;
        const HostCommand command = ParseHostCommand(line, keywordChars);
        if (command.refused()) {
            result.outcome = Outcome::Refused;
            result.line = lineNumber;
            result.refusal = command.refusal;
            return result;
        }
        switch (command.kind) {
        case HostCommand::Kind::Move:
            if (const auto breach = limits.breach(std::int64_t(command.x) * 25, std::int64_t(command.y) * 25,
                                                  std::int64_t(command.z) * 25)) {
                result.outcome = Outcome::OutsideLimits;
                result.line = lineNumber;
                result.breach = *breach;
                return result;
            }
            steps.push_back({word, command.x * 25, command.y * 25, command.z * 25});
            break;
        case HostCommand::Kind::High:
        case HostCommand::Kind::Low:
            word = command.velocityWord();
            break;
        case HostCommand::Kind::Pause:
            steps.push_back({});
            break;
        case HostCommand::Kind::Other:
            break;
        }
        if (steps.size() > maxSteps) {
            result.outcome = Outcome::TooManySteps;
            return result;
        }
    }
    if (reader.failed()) {
        result.outcome = Outcome::CannotLoad;
        return result;
    }
    if (!steps.empty()) {
        result.outcome = Outcome::Loaded;
        result.steps = std::move(steps);
    }
    return result;
}

ProgramFileReader::Result ProgramFileReader::load(const std::filesystem::path& path, std::uint16_t startWord,
                                                  const TravelLimits& limits)
{
    Result result;
    std::ifstream in;
    if (!CommandFile::openForReading(path, in)) {
        result.outcome = Outcome::CannotLoad;
        return result;
    }
    return read(in, startWord, limits);
}
