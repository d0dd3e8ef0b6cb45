#include "UploadSession.h"

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
    // A controller that stopped answering has had the recovery prompt already.
    if (upload.run(program, path) == ProgramUpload::Result::CannotWrite)
        m_prompts.message(cannotWriteText, ProgramTexts::warning, Prompts::Icon::None, Prompts::Buttons::Ok);
}
