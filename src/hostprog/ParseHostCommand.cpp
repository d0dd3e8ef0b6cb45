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

// The fields after a line's first comma, read in order; a missing one gives 0.
class FieldReader
{
public:
    // rest: the line after its first comma, without the line end; present:
    // whether the line has a comma at all. mayBeCut: the line fills the line
    // limit, so its end may be where the reader cut it.
    FieldReader(std::string_view rest, bool present, bool mayBeCut)
        : m_rest(rest)
        , m_present(present)
        , m_mayBeCut(mayBeCut)
    {
    }

    std::int32_t next()
    {
        if (!m_present) {
            m_cut = m_cut || m_mayBeCut; // the field may lie beyond the cut
            return 0;
        }
        const std::size_t comma = m_rest.find(',');
        const std::string_view text = m_rest.substr(0, comma);
        if (comma == std::string_view::npos)
            m_present = false;
        else
            m_rest.remove_prefix(comma + 1);

        const std::size_t chars = TextNumber::numberChars(text);
        if (chars > CommandLimits::fieldChars)
            m_tooLong = true;
        const std::size_t lead = text.find_first_not_of(" \t\n\r\v\f");
        const std::size_t numberEnd = lead == std::string_view::npos ? text.size() : lead + chars;
        if (comma == std::string_view::npos && m_mayBeCut && numberEnd == text.size())
            m_cut = true; // the number, or the field before it starts, runs into the cut
        return TextNumber::parse(text);
    }

    bool tooLong() const { return m_tooLong; }
    bool cut() const { return m_cut; }

private:
    std::string_view m_rest;
    bool m_present;
    bool m_mayBeCut;
    bool m_tooLong = false;
    bool m_cut = false;
};

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
    if (command.kind == HostCommand::Kind::Other)
        return command; // skipped by every reader, never refused
    // The fields are read without the line end; the first comma is the same.
    const std::string_view body = LineReader::text(text);
    const bool hasFields = comma != std::string_view::npos;
    FieldReader fields(hasFields ? body.substr(comma + 1) : std::string_view(), hasFields,
                       body.size() >= CommandLimits::lineChars);
    switch (command.kind) {
    case HostCommand::Kind::Move:
        command.x = fields.next();
        command.y = fields.next();
        command.z = fields.next();
        break;
    case HostCommand::Kind::High:
    case HostCommand::Kind::Low:
        command.v = fields.next();
        break;
    case HostCommand::Kind::Pause:
    case HostCommand::Kind::Other:
        break;
    }
    if (LineReader::holdsBareCr(text))
        command.refusal = HostCommand::Refusal::BareCr;
    else if (fields.cut())
        command.refusal = HostCommand::Refusal::LineTooLong;
    else if (fields.tooLong())
        command.refusal = HostCommand::Refusal::NumberTooLong;
    else if (!command.microstepsFit())
        command.refusal = HostCommand::Refusal::BeyondRange;
    return command;
}
