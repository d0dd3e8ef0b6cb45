#pragma once

#include <QString>

class ProgramExchange;
class ProgramProgress;
class Prompts;

// The "Upload Program from Controller" dialog without its widgets: asks for
// the file and reads the chosen program into it.
class UploadSession
{
public:
    static const QString title;
    static const QString cannotWriteText;

    UploadSession(ProgramExchange& exchange, Prompts& prompts);

    // program: 1 to 10, from the checked radio button. An upload the link
    // gave up on, or that met a step count no controller sends, says that it
    // failed; the file is not written then.
    void upload(int program);
    // Told of each step as it is read.
    void setProgress(ProgramProgress* progress);

private:
    ProgramExchange& m_exchange;
    Prompts& m_prompts;
};
