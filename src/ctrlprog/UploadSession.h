#pragma once

#include <QString>

class ProgramExchange;
class Prompts;

// The "Upload Program from Controller" dialog without its widgets: asks for
// the file and reads the chosen program into it.
class UploadSession
{
public:
    static const QString title;
    static const QString cannotWriteText;

    UploadSession(ProgramExchange& exchange, Prompts& prompts);

    // program: 1 to 10, from the checked radio button.
    void upload(int program);

private:
    ProgramExchange& m_exchange;
    Prompts& m_prompts;
};
