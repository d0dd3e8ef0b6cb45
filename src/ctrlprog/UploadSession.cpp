#include "UploadSession.h"

#include "ProgramExchange.h"
#include "ProgramTexts.h"
#include "ProgramUpload.h"
#include "Prompts.h"

const QString UploadSession::title = QStringLiteral("     Upload Program from Controller");
const QString UploadSession::cannotWriteText =
    QStringLiteral("Can not open file to write, please make sure the file is valid!");

UploadSession::UploadSession(ProgramExchange& exchange, Prompts& prompts)
    : m_exchange(exchange)
    , m_prompts(prompts)
{
}

void UploadSession::upload(int program)
{
    const QString path = m_prompts.saveFileName(QString(), ProgramTexts::fileFilter, ProgramTexts::fileSuffix);
    if (path.isEmpty())
        return;
    ProgramUpload upload(m_exchange);
    const ProgramUpload::Result result = upload.run(program, path);
    QString failure;
    if (result == ProgramUpload::Result::CannotWrite) {
        m_prompts.message(cannotWriteText, ProgramTexts::warning, Prompts::Icon::None, Prompts::Buttons::Ok);
        return;
    }
    if (result == ProgramUpload::Result::NoAnswer) {
        // Failed: the process is ending (the operator said No to the recovery).
        if (upload.linkStatus() == LinkStatus::Failed)
            return;
        failure = upload.linkStatus() == LinkStatus::BadAnswer ? m_exchange.badCountMessage(program)
                                                               : ProgramTexts::uploadFailedText.arg(program);
        m_prompts.message(failure, ProgramTexts::warning, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    }
}

void UploadSession::setProgress(ProgramProgress* progress)
{
    m_exchange.setProgress(progress);
}
