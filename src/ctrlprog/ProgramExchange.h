#pragma once

#include "LinkStatus.h"
#include "StepValues.h"

#include <vector>

class Clock;
class SerialLink;

// The controller-program exchanges, byte for byte: storing a program, asking
// for its step count or all of its steps, choosing absolute or relative
// execution, running it, letting it continue past a pause, and halting it.
// Programs are numbered 1 to 10.
class ProgramExchange
{
public:
    static constexpr int firstProgram = 1;
    static constexpr int lastProgram = 10;
    // Time allowed per uploaded step on top of the link's reply bound: 16
    // bytes take about 17 ms at 9600 baud and 67 ms at 2400.
    static constexpr int uploadMsPerStep = 100;

    ProgramExchange(SerialLink& link, Clock& clock);

    // The store-program header and every step, each followed by 100 ms (the
    // controller acknowledges none of them), then finishDownload().
    LinkStatus store(int program, const std::vector<StepValues>& steps);
    // The refresh-display command, 100 ms, wait for CR, input purge: the end
    // of every download, also when no program number was chosen.
    LinkStatus finishDownload();

    // The program-info command and its step count. The rest of the answer
    // (the steps and the closing CR) is read too and dropped: left in the
    // buffer, a long one would still be arriving when the next command's
    // reply is awaited and be taken for it.
    LinkStatus stepCount(int program, int* count);
    // Receive clear, the program-info command and the whole answer: the step
    // count, the steps (velocity field as the controller sends it) and the
    // closing CR, then an input purge. The read of the steps is bounded in
    // proportion to their number.
    LinkStatus upload(int program, std::vector<StepValues>* steps);

    // The absolute- or relative-mode command, 100 ms, wait for CR, purge.
    LinkStatus setMode(bool absolute);
    // The absolute-mode command alone, nothing read (leaving the dialog).
    LinkStatus sendAbsoluteMode();
    // The run-program command; waits while running stays set for the byte
    // the controller sends when the program has ended. running is clear on
    // return.
    LinkStatus run(int program, bool& running);
    // The end of a run: input purge, the refresh-display command, 100 ms,
    // wait for CR, input purge, 100 ms.
    LinkStatus windUp();
    // The continue command. During a run nothing is purged afterwards, so a
    // completion byte that arrives meanwhile still ends the run's wait; the
    // controller answers the command itself with nothing.
    LinkStatus continueRun(bool duringRun);
    // Velocity word 1, continue, interrupt, continue, wait for CR, with the
    // purges and pauses between; running is cleared before the interrupt
    // goes out, so the run's wait ends when this returns.
    LinkStatus halt(bool& running);

private:
    LinkStatus writeAndSleep(const class QByteArray& bytes);

    SerialLink& m_link;
    Clock& m_clock;
};
