#include "ProgramUpload.h"

#include "CommandFile.h"
#include "ProgramExchange.h"
#include "UploadLines.h"

#include <QSaveFile>

#include <sstream>

ProgramUpload::ProgramUpload(ProgramExchange& exchange)
    : m_exchange(exchange)
{
}

ProgramUpload::Result ProgramUpload::run(int program, const QString& path)
{
    m_stepCount = 0;
    m_status = LinkStatus::Ok;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result::CannotWrite;

    std::vector<StepValues> steps;
    m_status = m_exchange.upload(program, &steps);
    if (m_status != LinkStatus::Ok) {
        file.cancelWriting();
        return Result::NoAnswer;
    }
    m_stepCount = static_cast<int>(steps.size());

    std::ostringstream text;
    CommandFile::writeTo(text, UploadLines::of(steps));
    const std::string bytes = text.str();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())
        || !file.commit())
        return Result::CannotWrite;
    return Result::Written;
}
