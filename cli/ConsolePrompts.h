#pragma once

#include "Prompts.h"

// Prompts for the command line: messages go to standard error and every
// question is answered No, so nothing ever waits for a person.
class ConsolePrompts : public Prompts
{
public:
    Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;
    void endProcess(int status) override;
};
