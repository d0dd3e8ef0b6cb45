#pragma once

#include "LinkStatus.h"

#include <QString>

class ProgramExchange;
class ProgramHost;
class ProgramProgress;
class Prompts;

// The "Execute Program Stored in Controller" dialog without its widgets:
// Select Program, Execute, Continue, Halt and Exit with the running and idle
// flags that keep them consistent. Execute waits for the end of the run
// while messages are pumped, so Continue, Halt, Select Program and Exit run
// re-entrantly inside it.
class ExecuteSession
{
public:
    static const QString title;
    static const QString selectTitle;
    static const QString selectLabel;
    static const QString busySelectText;
    static const QString emptyProgramText;
    static const QString noProgramText;
    static const QString continueQuestion;
    static const QString busyExitText;
    static const QString notStartedText; // %1: the program number
    // Asked before a relative run while any travel limit is set; %1: the program number.
    static const QString relativeQuestion;
    // Said where nobody can be asked and the run was not confirmed; %1: the program number.
    static const QString relativeNotRunText;

    ExecuteSession(ProgramExchange& exchange, Prompts& prompts, ProgramHost& host);

    // Reads the chosen program's steps (to count them); a count no controller
    // sends is reported and selects nothing.
    void selectProgram();
    // Runs the selected program and returns when it has ended or been
    // halted. Ignored unless idle, so no run is ever nested in another.
    // When the mode command gets no answer the run is abandoned before the
    // run command: after a recovery with a message, and nothing more is sent.
    // A relative run while travel limits are set asks first (the controller
    // does not know the limits, and relative steps cannot be checked); No
    // sends nothing and keeps the program selected (declined()).
    // Returns the first exchange that did not end Ok.
    LinkStatus execute(bool absolute);
    // The last Execute was answered No to the relative-run question.
    bool declined() const { return m_declined; }
    // Whoever asked for the run (a client of the local server) has already
    // accepted a relative run with the travel limits unchecked: not asked.
    void setRelativeConfirmed(bool confirmed) { m_relativeConfirmed = confirmed; }
    // Asks first, since a continue that reaches no paused program hangs the
    // controller. Does nothing unless a run is awaited, nor when the run
    // ended while the question was open.
    void continueRun();
    // Told of each step Select Program reads.
    void setProgress(ProgramProgress* progress);
    // Stops the run that is awaited. Does nothing when no run is awaited:
    // the sequence would leave the controller at 1 um/s and wait for a CR
    // that an idle controller never sends.
    void halt();
    // True when the dialog may close: the absolute-mode command has been
    // sent. False, after the refusal, during a run.
    bool exit();

    bool running() const { return m_running; }
    bool idle() const { return m_idle; }

private:
    ProgramExchange& m_exchange;
    Prompts& m_prompts;
    ProgramHost& m_host;
    bool m_running = false;
    bool m_idle = true;
    bool m_declined = false;
    bool m_relativeConfirmed = false;
};
