#pragma once

#include "ConsolePrompts.h"

#include <cstdio>

// The prompts of qx410ctl run: messages go to standard error as usual, and
// the Pause question "Continue Execution?" is answered as --pause says:
// Ask puts it on the terminal and reads y or n, Continue answers Yes, Halt
// answers No.
class PausePrompts : public ConsolePrompts
{
public:
    enum class Mode { Ask, Continue, Halt };

    // Ask when standard input is a terminal, Halt otherwise, so that a
    // script never waits on a question.
    static Mode defaultMode();

    // in and err: where Ask reads the answer and puts the question.
    PausePrompts(Mode mode, std::FILE* in = stdin, std::FILE* err = stderr);

    Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;

    // The question on err with "[y/n]", asked again until y or n is read
    // from in; No at the end of the input.
    static Answer ask(const QString& question, std::FILE* in, std::FILE* err);

private:
    Mode m_mode;
    std::FILE* m_in;
    std::FILE* m_err;
};
