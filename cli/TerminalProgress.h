#pragma once

#include "ProgramProgress.h"

#include <QTextStream>

// The progress of a program transfer as one line on a terminal, rewritten in
// place at each step ("Storing program 3: step 12 of 300") and ended with a
// line break when the transfer ends. Writes nothing when not wanted: output
// that is not a terminal (a log, a pipe) or JSON output gets no progress.
class TerminalProgress : public ProgramProgress
{
public:
    TerminalProgress(QTextStream& out, bool wanted);

    // Whether to show progress: only on a terminal, and never with --json.
    static bool wanted(bool json, bool terminal);
    // True when standard error is a terminal.
    static bool standardErrorIsTerminal();

    void started(Transfer transfer, int program, int total) override;
    void advanced(int done) override;
    void finished() override;

private:
    QTextStream& m_out;
    bool m_wanted;
    bool m_open = false;
    Transfer m_transfer = Transfer::Store;
    int m_program = 0;
    int m_total = 0;
};
