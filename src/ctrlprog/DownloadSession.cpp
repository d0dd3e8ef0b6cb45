#include "DownloadSession.h"

#include "CommandFile.h"
#include "ProgramExchange.h"
#include "ProgramFileReader.h"
#include "ProgramHost.h"
#include "ProgramTexts.h"
#include "Prompts.h"

#include <filesystem>

const QString DownloadSession::title = QStringLiteral("     Download to Controller");
const QString DownloadSession::selectFirstText = QStringLiteral("Please select a file first!");
const QString DownloadSession::selectFirstCaption = QStringLiteral("DownLoad to Controller");
const QString DownloadSession::destinationTitle = QStringLiteral("Program Destination");
const QString DownloadSession::destinationLabel = QStringLiteral("Enter Program Number (1..10)");
const QString DownloadSession::tooManyStepsText = QStringLiteral(
    "The file holds more than 32767 downloadable commands, more than a controller program can hold. "
    "Nothing has been loaded.");
const QString DownloadSession::refusedText = QStringLiteral("Line %1 %2. Nothing has been loaded.");

QString DownloadSession::refusedMessage(std::size_t line, HostCommand::Refusal refusal)
{
    const std::string_view reason = HostCommand::refusalText(refusal);
    return refusedText.arg(line).arg(QString::fromUtf8(reason.data(), static_cast<qsizetype>(reason.size())));
}

QString DownloadSession::outsideLimitsMessage(std::size_t line, const TravelLimits::Breach& breach)
{
    return refusedText.arg(line).arg(QString::fromStdString(TravelLimits::lineReason(breach)));
}

DownloadSession::DownloadSession(ProgramExchange& exchange, Prompts& prompts, const ProgramHost& host)
    : m_exchange(exchange)
    , m_prompts(prompts)
    , m_host(host)
{
}

void DownloadSession::selectFile()
{
    const QString path = m_prompts.openFileName(QString(), ProgramTexts::fileFilter);
    if (!path.isEmpty())
        load(path);
}

void DownloadSession::load(const QString& path)
{
    const ProgramFileReader::Result result =
        ProgramFileReader::load(std::filesystem::path(path.toStdU16String()), m_host.startVelocityWord(),
                                m_host.travelLimits());
    QString refusal;
    switch (result.outcome) {
    case ProgramFileReader::Outcome::Loaded:
        m_steps = result.steps;
        m_fileSelected = true;
        return;
    case ProgramFileReader::Outcome::NoSteps:
        return;
    case ProgramFileReader::Outcome::CannotLoad:
        refusal = QString::fromLatin1(CommandFile::cannotLoadText);
        break;
    case ProgramFileReader::Outcome::TooManySteps:
        refusal = tooManyStepsText;
        break;
    case ProgramFileReader::Outcome::Refused:
        refusal = refusedMessage(result.line, result.refusal);
        break;
    case ProgramFileReader::Outcome::OutsideLimits:
        refusal = outsideLimitsMessage(result.line, result.breach);
        break;
    }
    m_prompts.message(refusal, ProgramTexts::warning, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

void DownloadSession::downloadFile()
{
    if (!m_fileSelected) {
        m_prompts.message(selectFirstText, selectFirstCaption, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return;
    }
    const std::optional<int> program = m_prompts.number(destinationTitle, destinationLabel, 1,
                                                        ProgramExchange::firstProgram, ProgramExchange::lastProgram);
    LinkStatus status = LinkStatus::Ok;
    if (program)
        status = m_exchange.store(*program, m_steps);
    else
        m_exchange.finishDownload();
    m_fileSelected = false;
    // Failed: the process is ending (the operator said No to the recovery).
    if (program && status != LinkStatus::Ok && status != LinkStatus::Failed)
        m_prompts.message(ProgramTexts::downloadFailedText.arg(*program), ProgramTexts::warning,
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

void DownloadSession::setProgress(ProgramProgress* progress)
{
    m_exchange.setProgress(progress);
}

QString DownloadSession::firstLine() const
{
    return m_steps.empty() ? QString() : QStringLiteral("File contains %1").arg(m_steps.size());
}

QString DownloadSession::secondLine() const
{
    return m_steps.empty() ? QString() : QStringLiteral("downloadable commands");
}
