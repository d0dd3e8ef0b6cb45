#pragma once

#include "HostExecutor.h"

#include <QString>

class HostMoves;
class Prompts;
struct PathSlots;

// Move Along Path 1 and 2: the command file that the capture window last
// saved or loaded for that slot, run line by line on the host. Unlike
// Execute Host Programs there is no loop, no halt and no restore of the
// velocity at the end; Stop ends only the move in progress, and No at a
// Pause ends the run quietly.
class PathRunner
{
public:
    static const QString undefinedText;

    // prompts: the view's (the Pause question and the messages are owned by it).
    PathRunner(PathSlots& paths, HostMoves& moves, Prompts& prompts);

    // Move Along Path N (1 or 2) on a copy of that path's file name.
    void moveAlong(int path);

    HostExecutor& executor() { return m_executor; }

private:
    PathSlots& m_state;
    Prompts& m_prompts;
    HostExecutor m_executor;
};
