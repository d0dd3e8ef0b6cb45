#pragma once

namespace qx410sim {

// Misbehaviour the simulated controller can be told to show, for exercising the
// host's error handling. Nothing is wrong with the first `afterCommands` commands:
// their replies go out intact. Once a later command has been received, every reply
// (to a command, or a completion byte sent on its own) is affected:
//  - silent:       nothing is sent at all;
//  - shortReplies: each reply is cut to half its length, rounded down
//                  (a one-byte completion therefore vanishes);
//  - garbage:      each reply is replaced by as many pseudo-random bytes, from a
//                  fixed seed so runs are repeatable;
//  - badCount:     the program-info answer announces FF FF steps (no controller
//                  stores that many); the steps and the CR that follow are intact.
// silent wins over the others; shortReplies and garbage together give half-length
// garbage.
struct Faults
{
    bool silent = false;
    bool shortReplies = false;
    bool garbage = false;
    int afterCommands = 0;
    // Last, so that {silent, short, garbage, after} still initialises the rest.
    bool badCount = false;
};

} // namespace qx410sim
