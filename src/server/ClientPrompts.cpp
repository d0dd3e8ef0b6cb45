#include "ClientPrompts.h"

#include "HostExecutor.h"

Prompts::Answer ClientPrompts::message(const QString& text, const QString&, Icon, Buttons buttons)
{
    if (text == HostExecutor::continueText && buttons == Buttons::YesNo)
        return m_continue ? Answer::Yes : Answer::No;
    m_last = text;
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        break;
    }
    return Answer::No;
}
