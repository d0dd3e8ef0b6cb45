#pragma once

#include "HostCommand.h"
#include "LinkStatus.h"

#include <QString>
#include <functional>
#include <istream>

class HostMoves;
class Prompts;

// Runs a command file line by line from the host: every line is read and
// classified on its own; a Move line becomes an absolute move to its
// micrometres x 25, a High or Low line the velocity command with its
// velocity word (send and settle), a Pause line the question "Continue
// Execution?", anything else nothing; after every line the controls are
// brought up to date.
//
// Execute Host Programs, the two paths and the command line run the same
// loop; they differ only in the options below and in the prompts they give
// (who answers the Pause question, who owns the messages).
class HostExecutor
{
public:
    static const QString continueText;
    static const QString continueCaption;
    static const QString warningCaption;
    // A line ParseHostCommand refused: %1 its line number, %2 the reason
    // (HostCommand::refusalText).
    static const QString refusedText;

    struct Options
    {
        // What No at a Pause line does: Halt (the halt sequence, the run
        // counts as halted) or Abandon (the busy flag cleared, the run ends
        // quietly; paths).
        enum class PauseNo { Halt, Abandon };
        PauseNo pauseNo = PauseNo::Halt;
        // End steps: the velocity setting is sent again on every way out
        // on which the link still answers.
        bool restoreVelocity = true;
        // What halt() sends for a move in progress: the whole Halt sequence
        // (velocity word 1, continue, interrupt), or only the interrupt
        // command, as Stop does (paths, which have no Halt of their own).
        bool haltSequence = true;
        // Give waiting events a turn after every line, so that Halt stays
        // reachable during lines that never wait for the controller.
        bool yieldEveryLine = false;
        // Called before a line is carried out, with its number from 1.
        std::function<void(int lineNumber, const HostCommand& command)> onLine;

        // Execute Host Programs: No at a Pause halts, the velocity is sent
        // again at the end, every line gives waiting events a turn.
        static Options dialog();
        // Move Along Path: No at a Pause ends the run quietly, no velocity at
        // the end, no turn between lines (the toolbar must not start anything).
        static Options path();
        // qx410ctl run: as the dialog, without events to give a turn to.
        static Options commandLine();
    };

    enum class Outcome {
        Finished,   // the end of the file was reached
        Halted,     // Halt, or No at a Pause with PauseNo::Halt
        Abandoned,  // No at a Pause with PauseNo::Abandon
        Refused,    // a line ParseHostCommand refused; nothing of it was sent
        CannotLoad, // the file could not be opened or read
        LinkFailed, // the link gave up (the program is ending, or no answer)
    };

    HostExecutor(HostMoves& moves, Prompts& prompts, Options options);

    // One run of the file, end steps included.
    Outcome run(const QString& fileName);
    // Runs the file again and again: passes times, or until it is halted
    // when passes is 0. Every pass is a whole run from the first line;
    // between passes waiting events get a turn. Ends with the first pass
    // that does not finish; a file that cannot be opened ends the loop.
    // fileName is asked before every pass.
    Outcome loop(const std::function<QString()>& fileName, int passes);

    // Halt: acts while a move is awaited or a Pause answered Yes holds the
    // busy flag: velocity word 1 (send and settle), continue command with
    // the receive side cleared at once, the busy flag cleared (ending the move's
    // wait), the interrupt command, the controls refreshed (without the
    // haltSequence option: the busy flag cleared and the interrupt command
    // alone). The run ends before its next line. During a run or loop with
    // nothing to interrupt it only ends the run before its next line; a
    // Pause question open meanwhile then sends nothing whatever its answer.
    // Returns whether it ended a run.
    bool halt();

    // The end steps on their own, for a start that runs nothing: the idle
    // flag set, the velocity setting sent again (when the options say so).
    Outcome endSteps(Outcome outcome = Outcome::Finished);

    // The message of the line the last run ended at because its target left
    // the travel limits; empty when it ended otherwise.
    QString limitRefusal() const { return m_limitRefusal; }

    // No run is in progress (Halt sets it at once).
    bool idle() const { return m_idle; }
    // A run is in progress, or a loop that has not been halted (between its
    // passes the idle flag is set).
    bool inProgress() const { return !m_idle || (m_looping && !m_loopHalted); }
    // A run or loop is still on the stack (a Halt may already have ended it).
    bool running() const { return m_depth > 0 || m_looping; }

    // The number of lines of a file as the run reads them. False when it
    // cannot be opened or read.
    static bool countLines(const QString& fileName, int* count);

private:
    Outcome runLines(std::istream& in);
    LinkStatus pause();
    void haltSequence();
    void interruptMove();
    void noteStop();
    void tellCannotLoad();

    HostMoves& m_moves;
    Prompts& m_prompts;
    Options m_options;
    bool m_idle = true;
    // The run ends before its next line, with m_stopWith.
    bool m_stop = false;
    Outcome m_stopWith = Outcome::Halted;
    // The loop ends before its next pass.
    bool m_loopHalted = false;
    // The busy flag was set by a Pause answered Yes and no move has cleared it since.
    bool m_pauseHoldsBusy = false;
    int m_depth = 0;
    bool m_looping = false;
    QString m_limitRefusal;
    // How the link gave up when a run ended with LinkFailed: after a move
    // that ran past its time limit the link still answers, so the velocity
    // is sent again all the same.
    LinkStatus m_linkEnd = LinkStatus::Ok;
};
