#include "HostExecutionSession.h"

#include "CommandFile.h"
#include "Prompts.h"

#include <fstream>

const QString HostExecutionSession::title = QStringLiteral("    Execute Host Programs");
const QString HostExecutionSession::fileFilter = QStringLiteral("Qx410 Files (*.dat);;All Files (*.*)");
const QString HostExecutionSession::noProgramText =
    QStringLiteral("No program has been selected, please select one first!");
const QString HostExecutionSession::haltedQuestionText =
    QStringLiteral("Do you want to execute the same file you halted?");
const QString HostExecutionSession::inProgressText =
    QStringLiteral("Execution in progress, can not start execute now! Press halt first then take the action");
const QString HostExecutionSession::cannotExitText =
    QStringLiteral("Execution in progress, can not exit now! Press halt then exit");

HostExecutionSession::HostExecutionSession(HostMoves& moves, Prompts& prompts)
    : m_prompts(prompts)
    , m_executor(moves, prompts, HostExecutor::Options::dialog())
{
}

QString HostExecutionSession::stepsText() const
{
    return m_counted ? QString::number(m_shownCount) : QString();
}

void HostExecutionSession::warn(const QString& text)
{
    m_prompts.message(text, HostExecutor::warningCaption, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

void HostExecutionSession::selectFile()
{
    const QString chosen = m_prompts.openFileNameFrom(QString(), fileFilter, m_fileName);
    if (!chosen.isEmpty())
        m_fileName = chosen;
    if (m_fileName.isEmpty())
        return;
    // A run suspended in a move reads on from the file it has open; the new
    // name and count are for later runs.
    m_lineCount = 0;
    int count = 0;
    if (!HostExecutor::countLines(m_fileName, &count)) {
        warn(QString::fromLatin1(CommandFile::cannotLoadText));
        return;
    }
    m_lineCount = count;
    m_shownCount = count;
    m_counted = true;
    m_fileSelected = true;
    m_halted = false;
}

bool HostExecutionSession::refuseWhileRunning()
{
    if (m_executor.idle() && !m_executor.running())
        return false;
    // Started from inside a running run (its move pumps messages), or after
    // Halt before the halted run has unwound: that run carries on or ends
    // undisturbed, and nothing else changes.
    warn(inProgressText);
    return true;
}

bool HostExecutionSession::askHalted()
{
    if (m_halted) {
        const Prompts::Answer answer = m_prompts.message(haltedQuestionText, HostExecutor::warningCaption,
                                                         Prompts::Icon::Question, Prompts::Buttons::YesNo);
        if (answer != Prompts::Answer::Yes)
            return false;
        m_halted = false;
    }
    return true;
}

void HostExecutionSession::executeOnce()
{
    if (!m_fileSelected) {
        warn(noProgramText);
        m_executor.endSteps();
        return;
    }
    if (refuseWhileRunning())
        return;
    // A file that can no longer be opened is reported before the halted question.
    std::ifstream probe;
    if (!CommandFile::openForReading(std::filesystem::u8path(m_fileName.toStdString()), probe)) {
        warn(QString::fromLatin1(CommandFile::cannotLoadText));
        m_executor.endSteps();
        return;
    }
    probe.close();
    if (!askHalted()) {
        m_executor.endSteps(); // nothing is executed, the velocity is sent again
        return;
    }
    noteOutcome(m_executor.run(m_fileName));
}

void HostExecutionSession::loop()
{
    if (!m_fileSelected) {
        warn(noProgramText);
        return;
    }
    if (refuseWhileRunning() || !askHalted())
        return;
    noteOutcome(m_executor.loop([this] { return m_fileName; }, 0));
}

void HostExecutionSession::noteOutcome(HostExecutor::Outcome outcome)
{
    if (outcome == HostExecutor::Outcome::Halted || outcome == HostExecutor::Outcome::Refused)
        m_halted = true;
}

void HostExecutionSession::halt()
{
    if (m_executor.halt())
        m_halted = true;
}

bool HostExecutionSession::mayExit()
{
    if (!m_executor.inProgress())
        return true;
    warn(cannotExitText);
    return false;
}
