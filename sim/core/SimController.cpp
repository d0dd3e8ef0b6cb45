#include "SimController.h"

#include "ByteOrder.h"

#include <algorithm>
#include <limits>

namespace qx410sim {

using namespace byteorder;

namespace {

constexpr std::size_t kProgramHeaderLength = 6; // 'd' prog16 count16 CR
constexpr std::size_t kDownloadStepLength = 14;

// Frame length of every command except 'd' (whose length depends on its header);
// 0 for bytes that do not start a command.
std::size_t fixedFrameLength(std::uint8_t command)
{
    switch (command) {
    case 'c':
    case SimController::kInterruptByte:
    case 'e':
    case 'n':
    case 's':
    case 'r':
    case 'o':
    case 'a':
    case 'b':
        return 2;
    case 'V':
    case 'u':
    case 'k':
        return 4;
    case 'm':
        return 14;
    default:
        return 0;
    }
}

enum class Frame { NotACommand, Incomplete, Complete };

// Looks at the bytes at the head of the input and says whether they hold a whole
// command frame (and how long it is).
Frame frameAt(const std::uint8_t* data, std::size_t available, std::size_t& length)
{
    const std::uint8_t command = data[0];
    if (command == 'd') {
        if (available < kProgramHeaderLength)
            return Frame::Incomplete;
        if (data[kProgramHeaderLength - 1] != SimController::kCr)
            return Frame::NotACommand;
        length = kProgramHeaderLength + kDownloadStepLength * readU16(data + 3);
    } else {
        length = fixedFrameLength(command);
        if (length == 0)
            return Frame::NotACommand;
        if (available >= length && data[length - 1] != SimController::kCr)
            return Frame::NotACommand;
    }
    return available >= length ? Frame::Complete : Frame::Incomplete;
}

Triple readTriple(const std::uint8_t* p)
{
    return {readI32(p), readI32(p + 4), readI32(p + 8)};
}

bool isPauseStep(const SimController::Step& step)
{
    return std::all_of(step.begin(), step.end(), [](std::uint8_t b) { return b == 0; });
}

std::int16_t clampToI16(std::int64_t value)
{
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                               std::numeric_limits<std::int16_t>::max()));
}

std::int16_t micronsClamped(std::int32_t microsteps)
{
    return clampToI16(microsteps / Motion::kMicrostepsPerMicron);
}

} // namespace

SimController::SimController(Faults faults)
    : m_faultFilter(faults)
    , m_nowMs(std::numeric_limits<std::int64_t>::min())
{
}

// ---- time ------------------------------------------------------------------------

int SimController::advanceState(State& state, std::int64_t nowMs) const
{
    int completions = 0;
    while (state.move && state.move->endMs() <= nowMs) {
        const std::int64_t endedAt = state.move->endMs();
        state.rest = state.move->target();
        state.move.reset();
        if (state.program == 0 || continueRun(state, endedAt))
            ++completions;
    }
    return completions;
}

bool SimController::continueRun(State& state, std::int64_t t) const
{
    const std::vector<Step>& steps = m_programs[static_cast<std::size_t>(state.program - 1)];
    while (state.nextStep < steps.size()) {
        const Step& step = steps[state.nextStep++];
        if (isPauseStep(step)) {
            state.paused = true;
            return false;
        }
        state.velocity = readU16(step.data());
        const Triple target = resolveTarget(state, readTriple(step.data() + 2));
        const Motion move(state.rest, target, t, state.velocity);
        if (!move.isEmpty()) {
            state.move = move;
            return false;
        }
        state.rest = target;
    }
    state.program = 0;
    state.nextStep = 0;
    return true;
}

Triple SimController::resolveTarget(const State& state, const Triple& requested) const
{
    return state.relative ? clampedSum(state.rest, requested) : requested;
}

Triple SimController::currentPosition(const State& state, std::int64_t nowMs)
{
    return state.move ? state.move->positionAt(nowMs) : state.rest;
}

SimController::State SimController::stateAt(std::int64_t nowMs) const
{
    State state = m_state;
    advanceState(state, std::max(nowMs, m_nowMs));
    return state;
}

void SimController::advanceTo(std::int64_t nowMs)
{
    m_nowMs = std::max(nowMs, m_nowMs);
    const int completions = advanceState(m_state, m_nowMs);
    for (int i = 0; i < completions; ++i)
        reply({kCompletionByte});
    if (m_haltAckAt && *m_haltAckAt <= m_nowMs) {
        m_haltAckAt.reset();
        reply({kCr});
    }
}

// ---- public interface ------------------------------------------------------------

void SimController::receive(const std::uint8_t* data, std::size_t size, std::int64_t nowMs)
{
    advanceTo(nowMs);
    if (size == 0)
        return;
    m_input.insert(m_input.end(), data, data + size);
    parseInput();
}

std::vector<std::uint8_t> SimController::takeOutput(std::int64_t nowMs)
{
    advanceTo(nowMs);
    std::vector<std::uint8_t> output;
    output.swap(m_output);
    return output;
}

std::optional<std::int64_t> SimController::nextEventMs() const
{
    std::optional<std::int64_t> next;
    if (m_state.move)
        next = m_state.move->endMs();
    if (m_haltAckAt && (!next || *m_haltAckAt < *next))
        next = m_haltAckAt;
    return next;
}

SimController::Axes SimController::position(std::int64_t nowMs) const
{
    const std::int64_t at = std::max(nowMs, m_nowMs);
    const Triple p = currentPosition(stateAt(at), at);
    return {p[0], p[1], p[2]};
}

bool SimController::moving(std::int64_t nowMs) const
{
    return stateAt(nowMs).move.has_value();
}

std::uint16_t SimController::velocityWord() const
{
    return m_state.velocity;
}

bool SimController::relativeMode() const
{
    return m_state.relative;
}

bool SimController::pausedInProgram() const
{
    return m_state.paused;
}

int SimController::runningProgram() const
{
    return m_state.program;
}

std::vector<SimController::Step> SimController::program(int number) const
{
    if (number < 1 || number > kProgramCount)
        return {};
    return m_programs[static_cast<std::size_t>(number - 1)];
}

std::size_t SimController::commandsHandled() const
{
    return m_commandsHandled;
}

// ---- commands --------------------------------------------------------------------

void SimController::parseInput()
{
    std::size_t consumed = 0;
    while (consumed < m_input.size()) {
        std::size_t length = 0;
        const Frame frame = frameAt(m_input.data() + consumed, m_input.size() - consumed, length);
        if (frame == Frame::Incomplete)
            break;
        if (frame == Frame::NotACommand) {
            ++consumed; // noise: drop one byte and look again
            continue;
        }
        handleCommand(m_input.data() + consumed);
        consumed += length;
    }
    m_input.erase(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(consumed));
}

void SimController::handleCommand(const std::uint8_t* frame)
{
    ++m_commandsHandled;
    switch (frame[0]) {
    case 'c':
        reply(positionReply());
        break;
    case 'm':
        startMove(readTriple(frame + 1));
        break;
    case 'V':
        m_state.velocity = readU16(frame + 1);
        break;
    case kInterruptByte:
        interrupt();
        break;
    case 'e':
        continueAfterPause();
        break;
    case 'n':
        reply({kCr});
        break;
    case 's':
        reply(statusReply());
        break;
    case 'r':
        reset();
        break;
    case 'o':
        setOrigin();
        break;
    case 'a':
        m_state.relative = false;
        reply({kCr});
        break;
    case 'b':
        m_state.relative = true;
        reply({kCr});
        break;
    case 'd':
        storeProgram(frame);
        break;
    case 'u': {
        std::vector<std::uint8_t> answer = programInfoReply(readU16(frame + 1));
        if (m_faultFilter.faults().badCount && m_faultFilter.active(m_commandsHandled))
            answer[0] = answer[1] = 0xFF;
        reply(answer);
        break;
    }
    case 'k':
        runProgram(readU16(frame + 1));
        break;
    default:
        break;
    }
}

bool SimController::stopWhereItStands()
{
    const bool busy = m_state.move.has_value() || m_state.program != 0;
    m_runInterrupted = false;
    m_state.rest = currentPosition(m_state, m_nowMs);
    m_state.move.reset();
    m_state.program = 0;
    m_state.nextStep = 0;
    m_state.paused = false;
    return busy;
}

void SimController::startMove(const Triple& requested)
{
    stopWhereItStands(); // a new move supersedes whatever was going on, silently
    const Motion move(m_state.rest, resolveTarget(m_state, requested), m_nowMs, m_state.velocity);
    if (move.isEmpty())
        reply({kCompletionByte});
    else
        m_state.move = move;
}

void SimController::runProgram(int number)
{
    stopWhereItStands();
    if (number < 1 || number > kProgramCount || m_programs[static_cast<std::size_t>(number - 1)].empty()) {
        reply({kCompletionByte});
        return;
    }
    m_state.program = number;
    m_state.nextStep = 0;
    if (continueRun(m_state, m_nowMs))
        reply({kCompletionByte});
}

void SimController::continueAfterPause()
{
    if (m_runInterrupted) {
        m_runInterrupted = false;
        m_haltAckAt = m_nowMs + kHaltAckMs;
        return;
    }
    if (!m_state.paused)
        return;
    m_state.paused = false;
    if (continueRun(m_state, m_nowMs))
        reply({kCompletionByte});
}

void SimController::interrupt()
{
    const bool running = m_state.program != 0;
    if (stopWhereItStands())
        reply({kCompletionByte});
    m_runInterrupted = running;
}

void SimController::reset()
{
    stopWhereItStands();
    m_state.velocity = kPowerUpVelocityWord;
    m_state.relative = false;
}

void SimController::setOrigin()
{
    const Triple here = currentPosition(m_state, m_nowMs);
    if (m_state.move)
        m_state.move = m_state.move->shiftedBy(here);
    m_state.rest = clampedSum(m_state.rest, here, -1);
}

void SimController::storeProgram(const std::uint8_t* frame)
{
    const int number = readU16(frame + 1);
    const std::size_t count = readU16(frame + 3);
    if (number < 1 || number > kProgramCount)
        return; // the steps have been consumed with the frame; nothing to keep
    std::vector<Step> steps(count);
    const std::uint8_t* p = frame + kProgramHeaderLength;
    for (Step& step : steps) {
        std::copy(p, p + kDownloadStepLength, step.begin());
        p += kDownloadStepLength;
    }
    m_programs[static_cast<std::size_t>(number - 1)] = std::move(steps);
}

// ---- replies ---------------------------------------------------------------------

std::vector<std::uint8_t> SimController::positionReply() const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(13);
    for (std::int32_t v : currentPosition(m_state, m_nowMs))
        appendI32(bytes, v);
    bytes.push_back(kCr);
    return bytes;
}

std::vector<std::uint8_t> SimController::statusReply() const
{
    const Triple here = currentPosition(m_state, m_nowMs);
    const Triple target = m_state.move ? m_state.move->target() : here;
    std::int64_t tenthsLeft = 0;
    if (m_state.move)
        tenthsLeft = (m_state.move->endMs() - m_nowMs + 99) / 100;
    const auto storedPrograms =
        std::count_if(m_programs.begin(), m_programs.end(), [](const std::vector<Step>& p) { return !p.empty(); });

    std::vector<std::uint8_t> bytes;
    bytes.reserve(kStatusBlockSize + 1);
    bytes.push_back(m_state.relative ? 1 : 0);
    bytes.push_back((m_state.velocity & kHighResolutionBit) ? 1 : 0);
    bytes.push_back(m_state.move ? 1 : 0);
    bytes.push_back(static_cast<std::uint8_t>(m_state.program));
    appendI16(bytes, static_cast<std::int16_t>(m_state.velocity & 0x7FFF));
    for (std::int32_t v : here)
        appendI16(bytes, micronsClamped(v));
    appendI16(bytes, clampToI16(m_state.program != 0 ? static_cast<std::int64_t>(m_state.nextStep) : 0));
    bytes.push_back(m_state.paused ? 1 : 0);
    bytes.push_back(static_cast<std::uint8_t>(storedPrograms));
    for (std::int32_t v : target)
        appendI16(bytes, micronsClamped(v));
    appendI16(bytes, clampToI16(tenthsLeft));
    bytes.resize(kStatusBlockSize, 0);
    bytes.push_back(kCr);
    return bytes;
}

std::vector<std::uint8_t> SimController::programInfoReply(int number) const
{
    static const std::vector<Step> kNoSteps;
    const std::vector<Step>& steps =
        number >= 1 && number <= kProgramCount ? m_programs[static_cast<std::size_t>(number - 1)] : kNoSteps;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(3 + 16 * steps.size());
    appendU16(bytes, static_cast<std::uint16_t>(steps.size()));
    for (const Step& step : steps) {
        // The velocity word sign-extended: negative means high resolution.
        appendI32(bytes, readI16(step.data()));
        bytes.insert(bytes.end(), step.begin() + 2, step.end());
    }
    bytes.push_back(kCr);
    return bytes;
}

void SimController::reply(const std::vector<std::uint8_t>& bytes)
{
    m_faultFilter.deliver(bytes, m_commandsHandled, m_output);
}

} // namespace qx410sim
