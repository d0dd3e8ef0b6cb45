#pragma once

#include "LinkStatus.h"

#include <QString>

class ProgramExchange;

// Reads one stored program into a command file. The lines go to a temporary
// file beside the chosen one, which takes the chosen name only once every
// step has been read and written: a failed or interrupted upload never leaves
// a truncated file behind nor touches a file of that name already there.
class ProgramUpload
{
public:
    enum class Result { Written, CannotWrite, NoAnswer };

    explicit ProgramUpload(ProgramExchange& exchange);

    // CannotWrite before anything is sent when the file cannot be created,
    // or at the end when it cannot be completed.
    Result run(int program, const QString& path);
    // Steps in the program read by the last run.
    int stepCount() const { return m_stepCount; }
    LinkStatus linkStatus() const { return m_status; }

private:
    ProgramExchange& m_exchange;
    int m_stepCount = 0;
    LinkStatus m_status = LinkStatus::Ok;
};
