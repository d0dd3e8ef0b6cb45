#include "PausePrompts.h"

#include "HostExecutor.h"

#include <unistd.h>

PausePrompts::Mode PausePrompts::defaultMode()
{
    return isatty(STDIN_FILENO) ? Mode::Ask : Mode::Halt;
}

PausePrompts::PausePrompts(Mode mode, std::FILE* in, std::FILE* err)
    : m_mode(mode)
    , m_in(in)
    , m_err(err)
{
}

Prompts::Answer PausePrompts::message(const QString& text, const QString& caption, Icon icon, Buttons buttons)
{
    if (text != HostExecutor::continueText || buttons != Buttons::YesNo)
        return ConsolePrompts::message(text, caption, icon, buttons);
    switch (m_mode) {
    case Mode::Continue:
        return Answer::Yes;
    case Mode::Halt:
        std::fprintf(m_err, "qx410ctl: Pause: halted (--pause halt)\n");
        return Answer::No;
    case Mode::Ask:
        break;
    }
    return ask(text, m_in, m_err);
}

Prompts::Answer PausePrompts::ask(const QString& question, std::FILE* in, std::FILE* err)
{
    for (;;) {
        std::fprintf(err, "%s [y/n] ", qPrintable(question));
        std::fflush(err);
        char answer[64];
        if (!std::fgets(answer, sizeof answer, in))
            return Answer::No; // end of input, or a signal: halt
        if (answer[0] == 'y' || answer[0] == 'Y')
            return Answer::Yes;
        if (answer[0] == 'n' || answer[0] == 'N')
            return Answer::No;
    }
}
