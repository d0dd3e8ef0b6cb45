#pragma once

#include "FaultFilter.h"
#include "Faults.h"
#include "Motion.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qx410sim {

// The QX-410 three-axis stepper controller as seen from its RS-232 line, without
// any I/O or clock of its own: the caller hands in the bytes the host sent together
// with the time they arrived, and collects what the controller has sent by a given
// time. Time is a millisecond count chosen by the caller; it never goes backwards
// (an earlier time is treated as the latest one seen).
//
// Commands (host -> controller): one command byte, raw little-endian parameters,
// then CR. Framing goes by the fixed length of each command, never by looking for
// CR, since parameter bytes may well be 0x0D.
//
//   'c' CR                 position query   -> X, Y, Z (int32 LE each), CR
//   'm' X Y Z CR           move             -> completion byte once the move has ended
//   'V' word16 CR          velocity         -> nothing
//   0x03 CR                interrupt        -> completion byte at once if a move or run was ended
//   'e' CR                 continue         -> nothing; a run waiting at a pause step goes on;
//                                              the first 'e' after an interrupt that ended a
//                                              run is acknowledged with CR after kHaltAckMs
//   'n' CR                 refresh display  -> CR
//   's' CR                 status query     -> 32-byte status block, CR
//   'r' CR                 reset            -> nothing
//   'o' CR                 set origin       -> nothing
//   'a' CR / 'b' CR        absolute / relative mode -> CR
//   'd' prog16 n16 CR steps store program   -> nothing; n steps of 14 bytes follow the CR
//   'u' prog16 CR          program info     -> n16, n steps of 16 bytes, CR
//   'k' prog16 CR          run program      -> completion byte once the run has ended
//
// A byte that does not start a known command is dropped on its own. A known command
// byte whose frame does not close with CR where it must is treated the same way, so
// a stray byte never wedges the parser for longer than one frame length.
//
// Motion: velocity word bits 0..14 are the speed in um/s (0 runs at 1 um/s), bit 15
// selects high resolution (0.04 um steps) and has no effect on speed. Positions are
// microsteps (25 per um). Travel time and interpolation are those of Motion. In
// relative mode the X, Y, Z of a move (command or program step) are offsets from the
// position where that move starts; in absolute mode they are targets. Targets beyond
// the 32-bit range are clamped to it.
//
// A command arriving during a move is handled at once: 'c' and 's' report the
// interpolated state, and a new 'm' or 'k' supersedes the move or run in progress
// (which then sends no completion byte). 'V' does not change the speed of a move
// already under way. 'r' and 0x03 stop the axes where they are; 'o' while moving makes
// the current point the origin and lets the move run on to the same place.
//
// Programs 1..10 hold up to 65535 steps. A step as stored is 14 bytes: velocity word,
// X, Y, Z (int32); all zero means "pause". Uploaded ('u'), a step is 16 bytes: the
// velocity word sign-extended to int32 (so negative = high resolution, low 15 bits the
// speed; 0 for a pause step), then X, Y, Z. A run executes the steps in order: a move
// step sets the velocity word to its own and moves; a pause step waits for 'e'. The
// next step starts the very millisecond the previous move ends, so several steps may
// finish within one call that jumps far ahead in time. After the last step the run
// sends its completion byte.
//
// Status block (32 bytes, little-endian, before the closing CR):
//   byte 0       mode: 0 absolute, 1 relative
//   byte 1       resolution: 1 when velocity word bit 15 is set, else 0
//   byte 2       moving: 1 while the axes are travelling, else 0
//   byte 3       number of the program being run, 0 when none
//   bytes 4-5    speed in um/s (velocity word bits 0..14)
//   bytes 6-11   X, Y, Z position in um (truncated toward zero), clamped to int16
//   bytes 12-13  number (from 1) of the program step being executed, 0 when no run
//   byte 14      1 while a run waits at a pause step, else 0
//   byte 15      number of programs holding at least one step
//   bytes 16-21  X, Y, Z of the current move's target in um, clamped to int16
//                (the position itself when idle)
//   bytes 22-23  time left of the current move in 0.1 s, rounded up, clamped to int16
//   bytes 24-31  zero
class SimController
{
public:
    struct Axes
    {
        std::int32_t x, y, z;

        friend bool operator==(const Axes& a, const Axes& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
        friend bool operator!=(const Axes& a, const Axes& b) { return !(a == b); }
    };
    using Step = std::array<std::uint8_t, 14>;

    static constexpr std::uint8_t kCr = 0x0D;
    static constexpr std::uint8_t kCompletionByte = 0x0D;
    static constexpr std::uint8_t kInterruptByte = 0x03;
    static constexpr std::uint16_t kPowerUpVelocityWord = 1000;
    static constexpr std::uint16_t kHighResolutionBit = 0x8000;
    static constexpr int kProgramCount = 10;
    static constexpr std::size_t kStatusBlockSize = 32;
    // How long the controller takes to acknowledge the continue command that
    // follows the interrupt of a run (the host's Halt awaits that CR).
    static constexpr std::int64_t kHaltAckMs = 20;

    explicit SimController(Faults faults = {});

    // Bytes from the host arriving at nowMs.
    void receive(const std::uint8_t* data, std::size_t size, std::int64_t nowMs);
    // Advances to nowMs and returns everything sent by then and not yet taken.
    std::vector<std::uint8_t> takeOutput(std::int64_t nowMs);
    // When a move in progress ends (and something may be sent), if one is.
    std::optional<std::int64_t> nextEventMs() const;

    // State queries. The ones taking a time look ahead to it without changing anything;
    // the others report the state as of the latest receive()/takeOutput().
    Axes position(std::int64_t nowMs) const;
    bool moving(std::int64_t nowMs) const;
    std::uint16_t velocityWord() const;
    bool relativeMode() const;
    bool pausedInProgram() const;
    int runningProgram() const; // 0 when none
    std::vector<Step> program(int number) const; // as downloaded; empty for unknown numbers
    std::size_t commandsHandled() const;

private:
    // Everything that changes with time on its own.
    struct State
    {
        Triple rest{};                 // axis position while no move is in progress
        std::optional<Motion> move;    // move in progress, if any
        std::uint16_t velocity = kPowerUpVelocityWord;
        bool relative = false;
        int program = 0;               // program being run, 0 when none
        std::size_t nextStep = 0;      // index of the step to execute next
        bool paused = false;           // run waiting for 'e'
    };

    // Completes every move that has ended by nowMs, chaining program steps; returns
    // how many completion bytes that produced.
    int advanceState(State& state, std::int64_t nowMs) const;
    // Executes program steps from state.nextStep at time t until a move is under way,
    // a pause step is reached or the program is done; true when the run has ended.
    bool continueRun(State& state, std::int64_t t) const;
    Triple resolveTarget(const State& state, const Triple& requested) const;
    static Triple currentPosition(const State& state, std::int64_t nowMs);
    State stateAt(std::int64_t nowMs) const;

    void advanceTo(std::int64_t nowMs);
    void parseInput();
    void handleCommand(const std::uint8_t* frame);
    bool stopWhereItStands(); // true if a move or run was in progress

    void startMove(const Triple& requested);
    void runProgram(int number);
    void continueAfterPause();
    void interrupt();
    void reset();
    void setOrigin();
    void storeProgram(const std::uint8_t* frame);

    std::vector<std::uint8_t> positionReply() const;
    std::vector<std::uint8_t> statusReply() const;
    std::vector<std::uint8_t> programInfoReply(int number) const;
    void reply(const std::vector<std::uint8_t>& bytes);

    FaultFilter m_faultFilter;
    State m_state;
    std::array<std::vector<Step>, kProgramCount> m_programs;
    std::vector<std::uint8_t> m_input;
    std::vector<std::uint8_t> m_output;
    std::int64_t m_nowMs = 0;
    bool m_runInterrupted = false;           // an interrupt ended a run; 'e' acknowledges
    std::optional<std::int64_t> m_haltAckAt; // when that acknowledgement goes out
    std::size_t m_commandsHandled = 0;
};

} // namespace qx410sim
