#include "UploadLines.h"

#include "CommandLines.h"

#include <cstdint>
#include <optional>

std::vector<std::string> UploadLines::of(const std::vector<StepValues>& steps)
{
    using Writer = CommandLines::Writer;
    std::vector<std::string> lines;
    // Nothing written yet. (Starting from -1 instead would drop the speed line
    // of a first step at word 0xFFFF, whose field is -1, and a later download
    // of the file would store that step at another velocity.)
    std::optional<std::int32_t> remembered;
    for (const StepValues& step : steps) {
        if (step.velocity == 0) {
            lines.push_back(CommandLines::pause(Writer::Upload));
            continue;
        }
        if (step.velocity != remembered) {
            remembered = step.velocity;
            lines.push_back(step.velocity < 0
                                ? CommandLines::high(Writer::Upload, static_cast<std::int32_t>(
                                                                         static_cast<std::uint32_t>(step.velocity) & 0x7FFFu))
                                : CommandLines::low(Writer::Upload, step.velocity));
        }
        // Integer division truncates toward zero, as whole micrometres are written.
        lines.push_back(CommandLines::move(step.x / 25, step.y / 25, step.z / 25));
    }
    return lines;
}
