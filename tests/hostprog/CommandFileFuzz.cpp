#include "CommandFileFuzz.h"

#include "CommandFile.h"
#include "CommandLimits.h"
#include "CommandLines.h"
#include "LineReader.h"
#include "ParseHostCommand.h"

#include <sstream>
#include <string_view>
#include <vector>

namespace {

using Kind = HostCommand::Kind;

std::vector<std::string> readAll(std::string_view bytes, std::size_t maxChars)
{
    std::istringstream in{std::string(bytes)};
    LineReader reader(in, maxChars);
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line))
        lines.push_back(line);
    return lines;
}

bool startsWith(std::string_view text, std::string_view word)
{
    return text.substr(0, word.size()) == word;
}

std::string where(std::size_t index)
{
    return " (line " + std::to_string(index + 1) + ")";
}

// What ParseHostCommand must give, apart from the numbers.
std::string checkCommand(std::string_view line, const HostCommand& c)
{
    // The keyword words share no prefix, so a line that begins with one of
    // them is of that kind, and only such a line is.
    const bool move = startsWith(line, "Move");
    const bool high = startsWith(line, "High");
    const bool low = startsWith(line, "Low");
    const bool pause = startsWith(line, "Pause");
    const Kind expected = move ? Kind::Move : high ? Kind::High : low ? Kind::Low : pause ? Kind::Pause : Kind::Other;
    if (c.kind != expected)
        return "kind " + std::string(HostCommand::name(c.kind)) + ", expected "
            + std::string(HostCommand::name(expected));
    if (c.kind != Kind::Move && (c.x != 0 || c.y != 0 || c.z != 0))
        return "coordinates on a line that is not a Move";
    if (c.kind != Kind::High && c.kind != Kind::Low && (c.v != 0 || c.velocityWord() != 0))
        return "velocity on a line that is not a speed line";
    if (c.kind == Kind::Other && c.refused())
        return "an Other line refused";
    if (c.refused() == HostCommand::refusalText(c.refusal).empty())
        return "a refusal without its text";
    if (!c.refused() && !c.microstepsFit())
        return "a Move beyond the controller's range not refused";
    if (c.refusal != HostCommand::Refusal::BareCr && c.kind != Kind::Other && LineReader::holdsBareCr(line))
        return "a line with CR-only line ends not refused for them";
    const std::uint32_t low16 = static_cast<std::uint32_t>(c.v) & 0xFFFFu;
    if (c.kind == Kind::Low && c.velocityWord() != low16)
        return "Low velocity word is not v kept to 16 bits";
    if (c.kind == Kind::High && ((c.velocityWord() + 0x8000u) & 0xFFFFu) != low16)
        return "High velocity word is not v - 32768 kept to 16 bits";
    return {};
}

// A number the writers put reads back when its sign and digits fit a field;
// the blanks before it do not count.
bool fits(std::int32_t value)
{
    return std::to_string(value).size() <= CommandLimits::fieldChars;
}

// The writers' text of a parsed line must parse to the same command.
std::string checkWritersAgree(const HostCommand& c)
{
    using W = CommandLines::Writer;
    std::vector<std::string> forms;
    if (c.refused())
        return {}; // its values are as read, not what a writer would take
    switch (c.kind) {
    case Kind::Move:
        forms.push_back(CommandLines::move(c.x, c.y, c.z));
        break;
    case Kind::High:
    case Kind::Low:
        if (fits(c.v)) {
            for (W w : {W::Editor, W::Upload})
                forms.push_back(c.kind == Kind::High ? CommandLines::high(w, c.v) : CommandLines::low(w, c.v));
        }
        break;
    case Kind::Pause:
        forms = {CommandLines::pause(W::Editor), CommandLines::pause(W::Upload)};
        break;
    case Kind::Other:
        break;
    }
    for (const std::string& form : forms) {
        if (ParseHostCommand(form + "\r\n") != c)
            return "the written form \"" + form + "\" reads back differently";
    }
    return {};
}

} // namespace

std::string CommandFileFuzz::check(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // A byte-order mark at the start is no part of any line.
    const std::string_view bytes = input.substr(0, LineReader::byteOrderMark.size()) == LineReader::byteOrderMark
        ? input.substr(LineReader::byteOrderMark.size())
        : input;
    const std::vector<std::string> whole = readAll(input, LineReader::noLimit);
    const std::vector<std::string> cut = readAll(input, CommandLimits::lineChars);

    // Whole lines are the input, split after each LF.
    std::string joined;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const std::size_t lf = whole[i].find('\n');
        if (whole[i].empty() || (lf != std::string::npos && lf + 1 != whole[i].size())
            || (lf == std::string::npos && i + 1 != whole.size()))
            return "a line does not end at its LF" + where(i);
        joined += whole[i];
    }
    if (joined != bytes)
        return "the lines do not make up the input";

    if (cut.size() != whole.size())
        return "cut reading gives " + std::to_string(cut.size()) + " lines, whole reading "
            + std::to_string(whole.size());
    std::istringstream fileIn{std::string(input)};
    if (CommandFile::linesOf(fileIn) != cut)
        return "CommandFile::linesOf differs from the line reader";

    for (std::size_t i = 0; i < cut.size(); ++i) {
        if (cut[i].size() > CommandLimits::lineChars + 2)
            return "a cut line is longer than the limit" + where(i);
        if (cut[i] != LineReader::limit(whole[i]))
            return "the reader cuts differently from LineReader::limit" + where(i);
        if (LineReader::text(cut[i]) != std::string_view(whole[i]).substr(0, LineReader::text(cut[i]).size()))
            return "a cut line is not the start of its line" + where(i);

        const HostCommand command = ParseHostCommand(cut[i]);
        if (ParseHostCommand(whole[i]) != command)
            return "the uncut line parses differently" + where(i);
        std::string failure = checkCommand(cut[i], command);
        if (failure.empty())
            failure = checkWritersAgree(command);
        if (!failure.empty())
            return failure + where(i);
    }
    if (!whole.empty() && ParseHostCommand(bytes) != ParseHostCommand(whole.front()))
        return "a parse reads past the first LF";

    // The editor's reading: one entry a line, without its line end; written
    // and read again, the same entries.
    std::istringstream textIn{std::string(input)};
    const std::vector<std::string> texts = CommandFile::textsOf(textIn);
    if (texts.size() != whole.size())
        return "the editor reads " + std::to_string(texts.size()) + " entries from "
            + std::to_string(whole.size()) + " lines";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].find('\n') != std::string::npos || texts[i] != LineReader::text(whole[i]))
            return "an editor entry is not its line without the line end" + where(i);
    }
    std::ostringstream out;
    if (!CommandFile::writeTo(out, texts))
        return "writing to memory failed";
    std::istringstream back(out.str());
    if (CommandFile::textsOf(back) != texts)
        return "the editor's entries do not survive a save and load";
    return {};
}
