#include "ParseHostCommand.h"

#include "CommandLimits.h"
#include "LineReader.h"
#include "TextNumber.h"

#include <string>

namespace {

struct KeywordRule
{
    std::string_view word; // compared on all of its characters
    HostCommand::Kind kind;
};

// The first match decides.
constexpr KeywordRule kRules[] = {
    {"Move", HostCommand::Kind::Move},
    {"High", HostCommand::Kind::High},
    {"Low", HostCommand::Kind::Low},
    {"Pause", HostCommand::Kind::Pause},
};

HostCommand::Kind classify(std::string_view keyword, std::size_t keywordChars)
{
    keyword = keyword.substr(0, keywordChars);
    for (const KeywordRule& rule : kRules) {
        if (keyword.substr(0, rule.word.size()) == rule.word)
            return rule.kind;
    }
    return HostCommand::Kind::Other;
}

// Field n (from 1) of the text after the first comma; 0 when the line has
// fewer fields.
std::int32_t field(std::string_view fields, int n)
{
    for (int i = 1; i < n; ++i) {
        const std::size_t comma = fields.find(',');
        if (comma == std::string_view::npos)
            return 0;
        fields.remove_prefix(comma + 1);
    }
    return TextNumber::parse(fields.substr(0, fields.find(',')), CommandLimits::fieldChars);
}

} // namespace

HostCommand ParseHostCommand(std::string_view rawLine)
{
    return ParseHostCommand(rawLine, CommandLimits::keywordChars);
}

HostCommand ParseHostCommand(std::string_view rawLine, std::size_t keywordChars)
{
    const std::string line = LineReader::limit(rawLine);
    const std::string_view text = line;
    const std::size_t comma = text.find(',');

    HostCommand command;
    command.kind = classify(text.substr(0, comma), keywordChars);
    if (comma == std::string_view::npos)
        return command; // every field is missing

    const std::string_view fields = text.substr(comma + 1);
    switch (command.kind) {
    case HostCommand::Kind::Move:
        command.x = field(fields, 1);
        command.y = field(fields, 2);
        command.z = field(fields, 3);
        break;
    case HostCommand::Kind::High:
    case HostCommand::Kind::Low:
        command.v = field(fields, 1);
        break;
    case HostCommand::Kind::Pause:
    case HostCommand::Kind::Other:
        break;
    }
    return command;
}
