#include "ProgramRequests.h"

#include "CommandFile.h"
#include "DownloadSession.h"
#include "ProgramExchange.h"
#include "ProgramFileReader.h"
#include "ProgramUpload.h"
#include "UploadSession.h"

#include <filesystem>

namespace {
ServerError error(ServerError::Kind kind, const QString& message)
{
    return ServerError{kind, message};
}
} // namespace

ProgramRequests::ProgramRequests(SerialLink& link, Clock& clock, Checked checked)
    : m_link(link)
    , m_clock(clock)
    , m_checked(std::move(checked))
{
}

ServerStatus ProgramRequests::download(
    const QString& file, int program, quint16 startWord, const TravelLimits& limits, int* steps)
{
    const ProgramFileReader::Result read
        = ProgramFileReader::load(std::filesystem::path(file.toStdU16String()), startWord, limits);
    switch (read.outcome) {
    case ProgramFileReader::Outcome::Loaded:
        break;
    case ProgramFileReader::Outcome::CannotLoad:
        return error(ServerError::Kind::File, CommandFile::cannotLoadText);
    case ProgramFileReader::Outcome::NoSteps:
        return error(ServerError::Kind::Refused,
                     QStringLiteral("%1 holds no Move or Pause line; nothing to store").arg(file));
    case ProgramFileReader::Outcome::TooManySteps:
        return error(ServerError::Kind::Refused, DownloadSession::tooManyStepsText);
    case ProgramFileReader::Outcome::Refused:
        return error(ServerError::Kind::Refused, DownloadSession::refusedMessage(read.line, read.refusal));
    case ProgramFileReader::Outcome::OutsideLimits:
        return error(ServerError::Kind::Travel, DownloadSession::outsideLimitsMessage(read.line, read.breach));
    }
    ProgramExchange exchange(m_link, m_clock);
    if (const ServerStatus s = m_checked(exchange.store(program, read.steps)))
        return s;
    *steps = static_cast<int>(read.steps.size());
    return std::nullopt;
}

ServerStatus ProgramRequests::upload(int program, const QString& file, int* steps)
{
    ProgramExchange exchange(m_link, m_clock);
    ProgramUpload upload(exchange);
    const ProgramUpload::Result result = upload.run(program, file);
    if (result == ProgramUpload::Result::CannotWrite)
        return error(ServerError::Kind::File, UploadSession::cannotWriteText);
    if (result == ProgramUpload::Result::NoAnswer)
        return m_checked(upload.linkStatus() == LinkStatus::Ok ? LinkStatus::Failed : upload.linkStatus());
    *steps = upload.stepCount();
    return std::nullopt;
}

ServerStatus ProgramRequests::programs(std::array<int, 10>* counts)
{
    ProgramExchange exchange(m_link, m_clock);
    for (int n = ProgramExchange::firstProgram; n <= ProgramExchange::lastProgram; ++n) {
        std::vector<StepValues> steps;
        if (const ServerStatus s = m_checked(exchange.upload(n, &steps)))
            return s;
        (*counts)[static_cast<std::size_t>(n - 1)] = static_cast<int>(steps.size());
    }
    return std::nullopt;
}
