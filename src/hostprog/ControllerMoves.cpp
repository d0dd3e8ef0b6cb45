#include "ControllerMoves.h"

#include "Clock.h"
#include "Commands.h"
#include "Controller.h"
#include "SerialLink.h"
#include "VelocityWord.h"

ControllerMoves::ControllerMoves(Controller& controller, Clock& clock, quint16 velocitySetting, int timeoutMs)
    : m_controller(controller)
    , m_clock(clock)
    , m_velocity(velocitySetting)
    , m_timeoutMs(timeoutMs)
{
}

LinkStatus ControllerMoves::readPosition()
{
    Position p;
    LinkStatus status = m_controller.queryPosition(&p);
    if (status == LinkStatus::Ok)
        status = m_controller.queryPosition(&p);
    if (status == LinkStatus::Ok) {
        m_position = p;
        m_hasPosition = true;
    }
    return status;
}

LinkStatus ControllerMoves::absoluteMove(const Position& microsteps)
{
    const LinkStatus status = m_controller.move(microsteps, m_busy, m_timeoutMs);
    if (status == LinkStatus::TimedOut)
        m_controller.interrupt(); // the move must not go on unattended
    if (status != LinkStatus::Ok)
        return status;
    m_clock.sleepMs(SerialLink::settleMs);
    return readPosition();
}

LinkStatus ControllerMoves::restoreVelocity()
{
    return m_controller.setVelocity(VelocityWord::encode(m_velocity, false));
}

LinkStatus ControllerMoves::sendVelocity(quint16 word)
{
    return m_controller.setVelocity(word);
}

LinkStatus ControllerMoves::sendContinue()
{
    return m_controller.continueRun();
}

LinkStatus ControllerMoves::writeContinueAndPurge()
{
    return m_controller.link().writeAndPurgeAtOnce(Commands::continueRun());
}

LinkStatus ControllerMoves::writeInterrupt()
{
    return m_controller.interrupt();
}

QString ControllerMoves::targetRefusal(const Position& microsteps) const
{
    const auto breach = m_limits.breach(microsteps.x, microsteps.y, microsteps.z);
    return breach ? QString::fromStdString(TravelLimits::lineReason(*breach)) : QString();
}
