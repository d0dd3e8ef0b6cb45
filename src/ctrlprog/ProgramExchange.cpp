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

} // namespace

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
    for (auto it = steps.begin(); status == LinkStatus::Ok && it != steps.end(); ++it) {
        ProgramStep step;
        step.velocityWord = static_cast<quint16>(it->velocity);
        step.x = it->x;
        step.y = it->y;
        step.z = it->z;
        status = writeAndSleep(step.toDownload());
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

LinkStatus ProgramExchange::upload(int program, std::vector<StepValues>* steps)
{
    // Whatever an earlier answer left behind would be taken for this one.
    m_link.receiveClear();
    LinkStatus status = m_link.write(Commands::programInfo(static_cast<quint16>(program)));
    QByteArray reply;
    if (status == LinkStatus::Ok)
        status = m_link.read(ProgramInfo::countSize, &reply);
    const int count = static_cast<quint16>(ProgramInfo::stepCount(reply));
    QByteArray bytes;
    if (status == LinkStatus::Ok && count > 0)
        status = m_link.read(count * ProgramStep::uploadSize, &bytes,
                             SerialLink::replyBoundMs + count * uploadMsPerStep);
    if (status == LinkStatus::Ok)
        status = m_link.waitForCr();
    if (failed(status))
        return status;
    m_link.inputPurge();
    if (steps) {
        steps->clear();
        steps->reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const qint64 at = qint64{i} * ProgramStep::uploadSize;
            steps->push_back({LittleEndian::read32(bytes, at), LittleEndian::read32(bytes, at + 4),
                              LittleEndian::read32(bytes, at + 8), LittleEndian::read32(bytes, at + 12)});
        }
    }
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
