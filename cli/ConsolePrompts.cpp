#include "ConsolePrompts.h"

#include <cstdio>
#include <cstdlib>

Prompts::Answer ConsolePrompts::message(const QString& text, const QString&, Icon, Buttons buttons)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "qx410ctl: %s\n", qPrintable(line.simplified()));
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::No;
    }
    return Answer::No;
}

void ConsolePrompts::endProcess(int status)
{
    std::fflush(stdout);
    std::exit(status);
}
