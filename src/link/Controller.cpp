#include "Controller.h"

#include "Commands.h"
#include "SerialLink.h"

Controller::Controller(SerialLink& link)
    : m_link(link)
{
}

LinkStatus Controller::queryPosition(Position* microsteps)
{
    QByteArray reply;
    const LinkStatus status = m_link.watchedRead(Commands::positionQuery(), Commands::positionReplySize, &reply);
    if (status == LinkStatus::Ok && microsteps)
        *microsteps = Commands::decodePositionReply(reply);
    return status;
}

LinkStatus Controller::move(const Position& microsteps, bool& busy, int timeoutMs)
{
    busy = true;
    // A completion byte left over from a move that Stop or Halt ended would
    // end this move's wait at once.
    m_link.receiveClear();
    return m_link.longOperationWait(Commands::move(microsteps), busy, timeoutMs);
}

LinkStatus Controller::setVelocity(quint16 word)
{
    return m_link.sendAndSettle(Commands::velocity(word));
}

LinkStatus Controller::interrupt()
{
    return m_link.write(Commands::interrupt());
}

LinkStatus Controller::continueRun()
{
    return m_link.sendAndSettle(Commands::continueRun());
}

LinkStatus Controller::reset()
{
    return m_link.sendAndSettle(Commands::reset());
}

LinkStatus Controller::setOrigin()
{
    return m_link.sendAndSettle(Commands::setOrigin());
}

LinkStatus Controller::refreshDisplay()
{
    const LinkStatus status = m_link.write(Commands::refreshDisplay());
    return status == LinkStatus::Ok ? m_link.waitForCr() : status;
}

LinkStatus Controller::queryStatus(std::array<int, StatusBlock::count>* numbers)
{
    LinkStatus status = m_link.write(Commands::statusQuery());
    if (status != LinkStatus::Ok)
        return status;
    QByteArray reply;
    status = m_link.read(StatusBlock::replySize, &reply);
    if (status == LinkStatus::Ok && numbers)
        *numbers = StatusBlock::decode(reply);
    return status;
}
