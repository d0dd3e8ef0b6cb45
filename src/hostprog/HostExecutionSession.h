#pragma once

#include "HostExecutor.h"

#include <QString>

class HostMoves;
class Prompts;

// Execute Host Programs without widgets: the chosen file and its line count,
// the file selected, halted and idle flags, and every button. The run itself
// is HostExecutor's; here are the checks and questions around it.
class HostExecutionSession
{
public:
    static const QString title;
    static const QString fileFilter;
    static const QString noProgramText;
    static const QString haltedQuestionText;
    static const QString inProgressText;
    static const QString cannotExitText;

    HostExecutionSession(HostMoves& moves, Prompts& prompts);

    // Select File: the file chooser from the current file name; the chosen
    // (or, after Cancel, the current) file is counted.
    void selectFile();
    // Execute Once: one run of the file.
    void executeOnce();
    // Loop: runs the file again and again until it is halted.
    void loop();
    // Halt: stops the run in progress.
    void halt();
    // Exit, the close box and Esc: true when the dialog may close.
    bool mayExit();

    const QString& fileName() const { return m_fileName; }
    int lineCount() const { return m_lineCount; }
    bool fileSelected() const { return m_fileSelected; }
    bool halted() const { return m_halted; }
    bool idle() const { return m_executor.idle(); }
    // The "Steps" field: the line count, or empty before a file was counted.
    QString stepsText() const;

    HostExecutor& executor() { return m_executor; }

private:
    // Shows "Execution in progress..." when a run is still going on.
    bool refuseWhileRunning();
    // The halted question when the last run was halted; false on No.
    bool askHalted();
    void warn(const QString& text);
    void noteOutcome(HostExecutor::Outcome outcome);

    Prompts& m_prompts;
    HostExecutor m_executor;
    QString m_fileName;
    int m_lineCount = 0;
    bool m_fileSelected = false;
    // What "Steps" shows: the count of the last file that could be counted.
    int m_shownCount = 0;
    bool m_counted = false;
    bool m_halted = false;
};
