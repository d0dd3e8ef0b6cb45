#include "TerminalProgress.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#define QX410_ISATTY _isatty
#define QX410_FILENO _fileno
#else
#include <unistd.h>
#define QX410_ISATTY isatty
#define QX410_FILENO fileno
#endif

TerminalProgress::TerminalProgress(QTextStream& out, bool wanted)
    : m_out(out)
    , m_wanted(wanted)
{
}

bool TerminalProgress::wanted(bool json, bool terminal)
{
    return terminal && !json;
}

bool TerminalProgress::standardErrorIsTerminal()
{
    return QX410_ISATTY(QX410_FILENO(stderr)) != 0;
}

void TerminalProgress::started(Transfer transfer, int program, int total)
{
    if (!m_wanted)
        return;
    m_transfer = transfer;
    m_program = program;
    m_total = total;
    m_open = true;
    advanced(0);
}

void TerminalProgress::advanced(int done)
{
    if (!m_open)
        return;
    m_out << '\r' << ProgramProgress::text(m_transfer, m_program, done, m_total);
    m_out.flush();
}

void TerminalProgress::finished()
{
    if (!m_open)
        return;
    m_open = false;
    m_out << '\n';
    m_out.flush();
}
