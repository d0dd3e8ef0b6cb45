#include "ExecuteSession.h"

#include "ProgramExchange.h"
#include "ProgramHost.h"
#include "ProgramTexts.h"
#include "Prompts.h"

const QString ExecuteSession::title = QStringLiteral("    Execute Program Stored in Controller");
const QString ExecuteSession::selectTitle = QStringLiteral("Select Controller Program");
const QString ExecuteSession::selectLabel = QStringLiteral("Enter Previously Saved Program Number (1..10)");
const QString ExecuteSession::busySelectText =
    QStringLiteral("Execution in progress, can not select file now! Press halt first then select file");
const QString ExecuteSession::emptyProgramText =
    QStringLiteral("You have selected a program without any content, please select Again!");
const QString ExecuteSession::noProgramText = QStringLiteral("No program has been selected, please select one first!");
const QString ExecuteSession::continueQuestion = QStringLiteral(
    "Press continue when Qx410 is not in pause state will result in hanging the system! Do you want to continue?");
const QString ExecuteSession::busyExitText =
    QStringLiteral("Execution in progress (in PAUSE state?), can not exit now! Press halt then exit");
const QString ExecuteSession::notStartedText = QStringLiteral(
    "Program %1 was not started: the controller did not confirm the execution mode. Select Execute again.");
const QString ExecuteSession::relativeQuestion = QStringLiteral(
    "Travel limits are set, but the controller does not know them: in relative mode program %1 moves from "
    "wherever the manipulator stands, and its moves cannot be checked against the limits. Run it in relative mode?");
const QString ExecuteSession::relativeNotRunText = QStringLiteral(
    "Program %1 was not run: travel limits are set, but the controller does not know them, and in relative mode "
    "its moves cannot be checked against the limits.");

namespace {
void refuse(Prompts& prompts, const QString& text)
{
    prompts.message(text, ProgramTexts::warning, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}
} // namespace

ExecuteSession::ExecuteSession(ProgramExchange& exchange, Prompts& prompts, ProgramHost& host)
    : m_exchange(exchange)
    , m_prompts(prompts)
    , m_host(host)
{
}

void ExecuteSession::selectProgram()
{
    if (!m_idle) {
        refuse(m_prompts, busySelectText);
        return;
    }
    const std::optional<int> program = m_prompts.number(selectTitle, selectLabel, 1, ProgramExchange::firstProgram,
                                                        ProgramExchange::lastProgram);
    if (!program) {
        m_host.setSelectedProgram(-1);
        return;
    }
    m_host.setSelectedProgram(*program);
    int count = 0;
    const LinkStatus status = m_exchange.stepCount(*program, &count);
    if (status != LinkStatus::Ok) {
        // No count arrived: nothing is known about the program.
        m_host.setSelectedProgram(-1);
        if (status == LinkStatus::BadAnswer)
            refuse(m_prompts, m_exchange.badCountMessage(*program));
        return;
    }
    if (count == 0) {
        refuse(m_prompts, emptyProgramText);
        m_host.setSelectedProgram(-1);
    }
}

LinkStatus ExecuteSession::execute(bool absolute)
{
    if (!m_idle)
        return LinkStatus::Ok;
    m_declined = false;
    LinkStatus status = LinkStatus::Ok;
    const int program = m_host.selectedProgram();
    if (program != -1 && !absolute && !m_relativeConfirmed && m_host.travelLimits().any()
        && m_prompts.message(relativeQuestion.arg(program), ProgramTexts::warning, Prompts::Icon::Exclamation,
                             Prompts::Buttons::YesNo)
            != Prompts::Answer::Yes) {
        m_declined = true;
        return LinkStatus::Ok;
    }
    if (program == -1) {
        refuse(m_prompts, noProgramText);
    } else {
        m_running = true;
        m_idle = false;
        status = m_exchange.setMode(absolute);
        if (status != LinkStatus::Ok) {
            // The mode the controller is in is unknown: starting the program
            // could run it relative where absolute was asked, or the reverse.
            m_running = false;
            m_idle = true;
            if (status == LinkStatus::Recovered)
                refuse(m_prompts, notStartedText.arg(program));
            return status;
        }
        status = m_exchange.run(program, m_running);
        if (status == LinkStatus::Quit) {
            // The application is closing: leave no program running behind it.
            m_running = true;
            status = m_exchange.halt(m_running);
        }
        if (status != LinkStatus::Failed)
            status = m_exchange.windUp();
        if (status != LinkStatus::Failed) {
            const LinkStatus read = m_host.getPosition();
            if (read != LinkStatus::Failed)
                m_host.markerRefresh();
            if (status == LinkStatus::Ok)
                status = read;
        }
        m_host.setSelectedProgram(-1);
    }
    m_running = false;
    m_idle = true;
    const LinkStatus restored = m_host.restoreVelocity();
    return status == LinkStatus::Ok ? restored : status;
}

void ExecuteSession::continueRun()
{
    if (!m_running)
        return;
    if (m_prompts.message(continueQuestion, ProgramTexts::warning, Prompts::Icon::Exclamation,
                          Prompts::Buttons::YesNo)
        != Prompts::Answer::Yes)
        return;
    // The run may have ended while the question was open: the run's wait
    // has not been back to see its last byte, so look for it here.
    if (m_running && !m_exchange.runHasEnded())
        m_exchange.continueRun(true);
}

void ExecuteSession::setProgress(ProgramProgress* progress)
{
    m_exchange.setProgress(progress);
}

void ExecuteSession::halt()
{
    if (!m_running)
        return;
    m_exchange.halt(m_running);
}

bool ExecuteSession::exit()
{
    if (!m_idle) {
        refuse(m_prompts, busyExitText);
        return false;
    }
    m_exchange.sendAbsoluteMode();
    return true;
}
