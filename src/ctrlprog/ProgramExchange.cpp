#include "ProgramExchange.h"

#include "Clock.h"
#include "Commands.h"
#include "LittleEndian.h"
#include "ProgramInfo.h"
#include "ProgramStep.h"
#include "SerialLink.h"

namespace {

bool failed(LinkStatus status)
{
    return status != LinkStatus::Ok;
}

// Tells the progress of one transfer, and that it ended however it ends.
class Transfer
{
public:
    Transfer(ProgramProgress* progress, ProgramProgress::Transfer kind, int program, int total)
        : m_progress(total > 0 ? progress : nullptr)
    {
        if (m_progress)
            m_progress->started(kind, program, total);
    }
    ~Transfer()
    {
        if (m_progress)
            m_progress->finished();
    }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    void advanced(int done)
    {
        if (m_progress)
            m_progress->advanced(done);
    }

private:
    ProgramProgress* m_progress;
};

} // namespace

const QString ProgramExchange::badCountText = QStringLiteral(
    "The controller announced %1 steps for program %2; a program holds 0 to 32767 steps. "
    "The controller or the serial line is faulty: nothing more was read.");

ProgramExchange::ProgramExchange(SerialLink& link, Clock& clock)
    : m_link(link)
    , m_clock(clock)
{
}

LinkStatus ProgramExchange::writeAndSleep(const QByteArray& bytes)
{
    const LinkStatus status = m_link.write(bytes);
    if (status == LinkStatus::Ok)
        m_clock.sleepMs(SerialLink::settleMs);
    return status;
}

LinkStatus ProgramExchange::store(int program, const std::vector<StepValues>& steps)
{
    LinkStatus status = writeAndSleep(
        Commands::storeProgram(static_cast<quint16>(program), static_cast<quint16>(steps.size())));
    {
        Transfer transfer(m_progress, ProgramProgress::Transfer::Store, program, static_cast<int>(steps.size()));
        int done = 0;
        for (auto it = steps.begin(); status == LinkStatus::Ok && it != steps.end(); ++it) {
            ProgramStep step;
            step.velocityWord = static_cast<quint16>(it->velocity);
            step.x = it->x;
            step.y = it->y;
            step.z = it->z;
            status = writeAndSleep(step.toDownload());
            if (status == LinkStatus::Ok)
                transfer.advanced(++done);
        }
    }
    // A link that gave up leaves nothing to refresh; a recovered one is open again.
    if (status == LinkStatus::Failed)
        return status;
    const LinkStatus finished = finishDownload();
    return status == LinkStatus::Ok ? finished : status;
}

LinkStatus ProgramExchange::finishDownload()
{
    LinkStatus status = writeAndSleep(Commands::refreshDisplay());
    if (status == LinkStatus::Ok)
        status = m_link.waitForCr();
    if (status == LinkStatus::Ok)
        m_link.inputPurge();
    return status;
}

LinkStatus ProgramExchange::stepCount(int program, int* count)
{
    std::vector<StepValues> steps;
    const LinkStatus status = upload(program, &steps);
    if (status == LinkStatus::Ok && count)
        *count = static_cast<int>(steps.size());
    return status;
}

QString ProgramExchange::badCountMessage(int program) const
{
    return badCountText.arg(m_announced).arg(program);
}

LinkStatus ProgramExchange::upload(int program, std::vector<StepValues>* steps)
{
    m_announced = 0;
    // Whatever an earlier answer left behind would be taken for this one.
    m_link.receiveClear();
    LinkStatus status = m_link.write(Commands::programInfo(static_cast<quint16>(program)));
    QByteArray reply;
    if (status == LinkStatus::Ok)
        status = m_link.read(ProgramInfo::countSize, &reply);
    if (failed(status))
        return status;
    const int count = ProgramInfo::stepCount(reply);
    m_announced = count;
    if (count < 0 || count > maxSteps) {
        // No controller stores such a program: what follows is no answer
        // worth waiting for.
        return m_link.badAnswer(badCountMessage(program));
    }
    std::vector<StepValues> read;
    read.reserve(static_cast<std::size_t>(count));
    {
        Transfer transfer(m_progress, ProgramProgress::Transfer::Read, program, count);
        QByteArray bytes;
        for (int i = 0; i < count && status == LinkStatus::Ok; ++i) {
            status = m_link.read(ProgramStep::uploadSize, &bytes);
            if (status != LinkStatus::Ok)
                break;
            read.push_back({LittleEndian::read32(bytes, 0), LittleEndian::read32(bytes, 4),
                            LittleEndian::read32(bytes, 8), LittleEndian::read32(bytes, 12)});
            transfer.advanced(i + 1);
        }
    }
    if (status == LinkStatus::Ok)
        status = m_link.waitForCr();
    if (failed(status))
        return status;
    m_link.inputPurge();
    if (steps)
        *steps = std::move(read);
    return status;
}

LinkStatus ProgramExchange::setMode(bool absolute)
{
    LinkStatus status = writeAndSleep(absolute ? Commands::absoluteMode() : Commands::relativeMode());
    if (status == LinkStatus::Ok)
        status = m_link.waitForCr();
    if (status == LinkStatus::Ok)
        m_link.inputPurge();
    return status;
}

LinkStatus ProgramExchange::sendAbsoluteMode()
{
    return m_link.write(Commands::absoluteMode());
}

LinkStatus ProgramExchange::run(int program, bool& running)
{
    running = true;
    return m_link.longOperationWait(Commands::runProgram(static_cast<quint16>(program)), running);
}

bool ProgramExchange::runHasEnded()
{
    return m_link.inputWaiting();
}

LinkStatus ProgramExchange::windUp()
{
    m_link.inputPurge();
    LinkStatus status = finishDownload();
    if (status == LinkStatus::Ok)
        m_clock.sleepMs(SerialLink::settleMs);
    return status;
}

LinkStatus ProgramExchange::continueRun(bool duringRun)
{
    const LinkStatus status = writeAndSleep(Commands::continueRun());
    if (status == LinkStatus::Ok && !duringRun)
        m_link.inputPurge();
    return status;
}

LinkStatus ProgramExchange::halt(bool& running)
{
    LinkStatus status = m_link.sendAndSettle(Commands::velocity(1));
    if (status == LinkStatus::Ok)
        status = m_link.writeAndPurgeAtOnce(Commands::continueRun());
    running = false;
    if (status == LinkStatus::Ok)
        status = writeAndSleep(Commands::interrupt());
    running = false;
    m_link.inputPurge();
    if (status == LinkStatus::Ok)
        status = m_link.writeAndPurgeAtOnce(Commands::continueRun());
    if (status == LinkStatus::Ok)
        status = m_link.waitForCr();
    return status;
}
