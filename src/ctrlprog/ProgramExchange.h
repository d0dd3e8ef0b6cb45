#pragma once

#include "LinkStatus.h"
#include "ProgramProgress.h"
#include "StepValues.h"

#include <QString>
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
    // The most steps a program can hold: the count travels as a signed 16-bit
    // number.
    static constexpr int maxSteps = 32767;
    // A step count outside 0 to maxSteps: %1 the count, %2 the program.
    static const QString badCountText;

    ProgramExchange(SerialLink& link, Clock& clock);

    // Told of every step stored or read from now on; nullptr for none.
    void setProgress(ProgramProgress* progress) { m_progress = progress; }
    // The step count the controller announced in the last program-info
    // answer, as read (signed).
    int announcedCount() const { return m_announced; }
    // badCountText for the last answer that ended in BadAnswer.
    QString badCountMessage(int program) const;

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
    // closing CR, then an input purge. The steps are read one at a time, each
    // read ending 10 s after the last byte that arrived. A count outside 0 to
    // maxSteps (garbage on the line) ends the exchange at once: BadAnswer,
    // the input purged.
    LinkStatus upload(int program, std::vector<StepValues>* steps);

    // The absolute- or relative-mode command, 100 ms, wait for CR, purge.
    LinkStatus setMode(bool absolute);
    // The absolute-mode command alone, nothing read (leaving the dialog).
    LinkStatus sendAbsoluteMode();
    // The run-program command; waits while running stays set for the byte
    // the controller sends when the program has ended. running is clear on
    // return.
    LinkStatus run(int program, bool& running);
    // True when the byte that ends a run has arrived and waits to be read
    // (during a run nothing else is sent to the host).
    bool runHasEnded();
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
    ProgramProgress* m_progress = nullptr;
    int m_announced = 0;
};
