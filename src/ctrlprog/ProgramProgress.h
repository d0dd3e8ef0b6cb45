#pragma once

#include <QString>

// Told how a long program transfer goes, one step at a time: storing a
// program (100 ms a step, so nearly an hour for the largest) and reading one
// back (about 17 ms a step at 9600 baud). The desktop program shows a modal
// progress window and gives the window system a turn at each step; the
// command line writes a progress line on a terminal.
class ProgramProgress
{
public:
    enum class Transfer { Store, Read };

    virtual ~ProgramProgress() = default;

    // A transfer of total steps (at least one) of the program begins.
    virtual void started(Transfer transfer, int program, int total) = 0;
    // done of the total steps have been sent or read.
    virtual void advanced(int done) = 0;
    // The transfer has ended, whole or not.
    virtual void finished() = 0;

    // "Storing program 3: step 12 of 300" / "Reading program 3: step 12 of 300".
    static QString text(Transfer transfer, int program, int done, int total)
    {
        return QStringLiteral("%1 program %2: step %3 of %4")
            .arg(transfer == Transfer::Store ? QStringLiteral("Storing") : QStringLiteral("Reading"))
            .arg(program)
            .arg(done)
            .arg(total);
    }
};
