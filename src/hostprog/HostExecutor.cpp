#include "HostExecutor.h"

#include "CommandFile.h"
#include "HostMoves.h"
#include "LineReader.h"
#include "ParseHostCommand.h"
#include "Prompts.h"
#include "Units.h"

#include <fstream>
#include <string>

const QString HostExecutor::continueText = QStringLiteral("Continue Execution?");
const QString HostExecutor::continueCaption = QStringLiteral("Qx410");
const QString HostExecutor::warningCaption = QStringLiteral("Warning");
const QString HostExecutor::refusedText = QStringLiteral("Line %1 %2. It was not sent and execution has been halted.");

namespace {
bool openFile(const QString& fileName, std::ifstream& in)
{
    return !fileName.isEmpty() && CommandFile::openForReading(std::filesystem::u8path(fileName.toStdString()), in);
}

bool linkGaveUp(LinkStatus status)
{
    return status == LinkStatus::Failed || status == LinkStatus::Quit || status == LinkStatus::TimedOut;
}

// Tells the moves that a run or loop is on the stack, for as long as it is.
class RunMark
{
public:
    RunMark(HostMoves& moves, HostExecutor& executor)
        : m_moves(moves)
        , m_executor(executor)
    {
        m_moves.runStarted(m_executor);
    }
    ~RunMark() { m_moves.runEnded(m_executor); }
    RunMark(const RunMark&) = delete;
    RunMark& operator=(const RunMark&) = delete;

private:
    HostMoves& m_moves;
    HostExecutor& m_executor;
};
} // namespace

HostExecutor::Options HostExecutor::Options::dialog()
{
    Options o = commandLine();
    o.yieldEveryLine = true; // Halt stays reachable through lines that never wait
    return o;
}

HostExecutor::Options HostExecutor::Options::path()
{
    Options o;
    o.pauseNo = PauseNo::Abandon;
    o.restoreVelocity = false;
    o.haltSequence = false;
    o.yieldEveryLine = false;
    return o;
}

HostExecutor::Options HostExecutor::Options::commandLine()
{
    Options o;
    o.pauseNo = PauseNo::Halt;
    o.restoreVelocity = true;
    o.yieldEveryLine = false;
    return o;
}

HostExecutor::HostExecutor(HostMoves& moves, Prompts& prompts, Options options)
    : m_moves(moves)
    , m_prompts(prompts)
    , m_options(std::move(options))
{
}

bool HostExecutor::countLines(const QString& fileName, int* count)
{
    std::ifstream in;
    if (!openFile(fileName, in))
        return false;
    LineReader reader(in);
    std::string line;
    int lines = 0;
    while (reader.next(line))
        ++lines;
    if (reader.failed())
        return false;
    *count = lines;
    return true;
}

HostExecutor::Outcome HostExecutor::run(const QString& fileName)
{
    const RunMark mark(m_moves, *this);
    m_linkEnd = LinkStatus::Ok;
    m_limitRefusal.clear();
    std::ifstream in;
    if (!openFile(fileName, in)) {
        tellCannotLoad();
        return endSteps(Outcome::CannotLoad);
    }
    ++m_depth;
    m_stop = false;
    m_pauseHoldsBusy = false;
    const Outcome outcome = runLines(in);
    --m_depth;
    return endSteps(outcome);
}

HostExecutor::Outcome HostExecutor::loop(const std::function<QString()>& fileName, int passes)
{
    const RunMark mark(m_moves, *this);
    m_looping = true;
    m_loopHalted = false;
    Outcome outcome = Outcome::Finished;
    for (int pass = 0; passes <= 0 || pass < passes; ++pass) {
        if (pass > 0)
            m_moves.yieldTurn(); // whatever the file holds, Halt can be pressed between passes
        if (m_loopHalted) {
            outcome = Outcome::Halted;
            break;
        }
        outcome = run(fileName());
        if (outcome != Outcome::Finished)
            break;
    }
    m_looping = false;
    return outcome;
}

HostExecutor::Outcome HostExecutor::runLines(std::istream& in)
{
    LineReader reader(in);
    std::string line;
    int number = 0;
    for (;;) {
        if (m_stop)
            return m_stopWith;
        if (m_moves.haltRequested()) {
            haltSequence();
            return Outcome::Halted;
        }
        if (!reader.next(line)) {
            if (!reader.failed())
                return Outcome::Finished;
            tellCannotLoad(); // a read error: the rest of the file is unknown
            return Outcome::CannotLoad;
        }
        m_idle = false;
        ++number;
        const HostCommand command = ParseHostCommand(line);
        if (m_options.onLine)
            m_options.onLine(number, command);

        QString refusal;
        if (command.refused()) {
            const std::string_view reason = HostCommand::refusalText(command.refusal);
            refusal = QString::fromUtf8(reason.data(), qsizetype(reason.size()));
        } else if (command.kind == HostCommand::Kind::Move) {
            refusal = m_moves.targetRefusal(Units::micronsToMicrosteps(Position{command.x, command.y, command.z}));
        }
        if (!refusal.isEmpty()) {
            if (!command.refused())
                m_limitRefusal = refusedText.arg(number).arg(refusal);
            m_prompts.message(refusedText.arg(number).arg(refusal), warningCaption, Prompts::Icon::Exclamation,
                              Prompts::Buttons::Ok);
            m_moves.refreshControls();
            return Outcome::Refused;
        }

        LinkStatus status = LinkStatus::Ok;
        switch (command.kind) {
        case HostCommand::Kind::Move:
            status = m_moves.absoluteMove(Units::micronsToMicrosteps(Position{command.x, command.y, command.z}));
            m_pauseHoldsBusy = false; // the move has cleared the busy flag
            break;
        case HostCommand::Kind::High:
        case HostCommand::Kind::Low:
            status = m_moves.sendVelocity(command.velocityWord());
            break;
        case HostCommand::Kind::Pause:
            status = pause();
            break;
        case HostCommand::Kind::Other:
            break;
        }
        m_moves.refreshControls();
        if (linkGaveUp(status)) {
            m_linkEnd = status;
            return Outcome::LinkFailed;
        }
        if (m_options.yieldEveryLine)
            m_moves.yieldTurn();
    }
}

LinkStatus HostExecutor::pause()
{
    const Prompts::Answer answer = m_prompts.message(continueText, continueCaption, Prompts::Icon::Question,
                                                     Prompts::Buttons::YesNo);
    if (m_stop)
        return LinkStatus::Ok; // halted while the question was open (the window is closing)
    if (answer == Prompts::Answer::Yes) {
        const LinkStatus status = m_moves.sendContinue();
        m_moves.busy() = true;
        m_pauseHoldsBusy = true;
        return status;
    }
    if (m_options.pauseNo == Options::PauseNo::Halt) {
        m_moves.busy() = true;
        haltSequence();
    } else {
        m_moves.busy() = false;
        m_stop = true;
        m_stopWith = Outcome::Abandoned;
    }
    return LinkStatus::Ok;
}

bool HostExecutor::halt()
{
    if (m_moves.busy()) {
        if (m_options.haltSequence)
            haltSequence();
        else
            interruptMove();
        return true;
    }
    if (!running())
        return false; // nothing to halt
    // A run between lines, or a loop between passes: nothing is moving, so
    // nothing is sent; the run ends before its next line.
    noteStop();
    return true;
}

void HostExecutor::noteStop()
{
    m_stop = true;
    m_stopWith = Outcome::Halted;
    m_loopHalted = m_looping;
}

void HostExecutor::interruptMove()
{
    noteStop();
    m_moves.busy() = false; // ends the wait of the move in progress
    m_pauseHoldsBusy = false;
    m_moves.writeInterrupt();
    m_idle = true;
    m_moves.refreshControls();
}

void HostExecutor::haltSequence()
{
    m_moves.sendVelocity(1);
    m_moves.writeContinueAndPurge();
    interruptMove();
}

HostExecutor::Outcome HostExecutor::endSteps(Outcome outcome)
{
    m_idle = true;
    if (m_pauseHoldsBusy && m_moves.busy()) {
        // A Pause answered Yes set the busy flag and no move followed: nothing
        // is moving, so the controls must not stay locked.
        m_moves.busy() = false;
        m_moves.refreshControls();
    }
    m_pauseHoldsBusy = false;
    const bool linkAnswers = outcome != Outcome::LinkFailed || m_linkEnd == LinkStatus::TimedOut;
    if (m_options.restoreVelocity && linkAnswers && linkGaveUp(m_moves.restoreVelocity()))
        return Outcome::LinkFailed;
    return outcome;
}

void HostExecutor::tellCannotLoad()
{
    m_prompts.message(QString::fromLatin1(CommandFile::cannotLoadText), warningCaption, Prompts::Icon::Exclamation,
                      Prompts::Buttons::Ok);
}
