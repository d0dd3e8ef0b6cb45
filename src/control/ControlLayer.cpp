#include "ControlLayer.h"

#include "Clock.h"
#include "Commands.h"
#include "HostExecutor.h"
#include "SerialLink.h"
#include "TravelLimitsStore.h"
#include "Units.h"
#include "VelocityWord.h"

#include <QCoreApplication>

#include <algorithm>

ControlLayer::ControlLayer(SerialLink& link, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_link(link)
    , m_controller(link)
    , m_clock(clock)
{
}

void ControlLayer::setVelocitySetting(quint16 velocity)
{
    if (velocity == m_state.velocity)
        return;
    m_state.velocity = velocity;
    emit settingsChanged(m_state.velocity, m_state.resolution);
}

void ControlLayer::setResolutionSetting(int resolution)
{
    if (resolution == m_state.resolution)
        return;
    m_state.resolution = resolution;
    emit settingsChanged(m_state.velocity, m_state.resolution);
}

void ControlLayer::setCurrentPosition(const Position& microsteps)
{
    m_state.current = microsteps;
}

bool ControlLayer::linkOpen() const
{
    return m_link.isOpen();
}

bool ControlLayer::applySpeed(quint16 velocity, bool high, LinkStatus* status)
{
    if (m_state.busy || velocity > ControlState::maxVelocity
        || (high && velocity > ControlState::highResolutionVelocityLimit))
        return false;
    m_state.velocity = velocity;
    m_state.resolution = high ? ControlState::highResolution : ControlState::lowResolution;
    emit settingsChanged(m_state.velocity, m_state.resolution);
    const LinkStatus sent = noted(m_controller.setVelocity(VelocityWord::encode(velocity, high)));
    if (status)
        *status = sent;
    return true;
}

LinkStatus ControlLayer::noted(LinkStatus status)
{
    if (status == LinkStatus::Recovered)
        emit linkRecovered();
    else if (status == LinkStatus::Failed)
        emit linkFailed();
    return status;
}

void ControlLayer::setBusy(bool busy)
{
    m_state.busy = busy;
    emit busyChanged(m_state.busy);
}

LinkStatus ControlLayer::getPosition()
{
    Position microsteps;
    const LinkStatus status = noted(m_controller.queryPosition(&microsteps));
    if (status != LinkStatus::Ok)
        return status; // no reply: the read-out keeps its last values
    m_state.displayed = Units::microstepsToMicrons(microsteps);
    m_state.current = microsteps;
    emit positionChanged(m_state.displayed);
    return status;
}

LinkStatus ControlLayer::absoluteMove(const Position& microsteps)
{
    ++m_moves;
    const LinkStatus status = moveAndReadBack(microsteps);
    --m_moves;
    emit moveEnded();
    return status;
}

bool ControlLayer::requestMove(const Position& microsteps, LinkStatus* status, QString* refusal)
{
    if (m_state.busy)
        return false;
    const QString outside = limitRefusal(microsteps);
    if (!outside.isEmpty()) {
        if (refusal)
            *refusal = outside;
        return false;
    }
    const LinkStatus result = absoluteMove(microsteps);
    if (status)
        *status = result;
    return true;
}

void ControlLayer::setTravelLimits(const TravelLimits& limits)
{
    if (limits == m_limits)
        return;
    m_limits = limits;
    emit limitsChanged();
}

bool ControlLayer::saveTravelLimits(const TravelLimits& limits, QString* why)
{
    if (!TravelLimitsStore(m_limitsFolder).save(limits, why))
        return false;
    setTravelLimits(limits);
    return true;
}

QString ControlLayer::limitRefusal(const Position& microsteps) const
{
    const auto breach = m_limits.breach(microsteps.x, microsteps.y, microsteps.z);
    return breach ? QString::fromStdString(TravelLimits::refusalText(*breach)) : QString();
}

QString ControlLayer::targetRefusal(const Position& microsteps) const
{
    const auto breach = m_limits.breach(microsteps.x, microsteps.y, microsteps.z);
    return breach ? QString::fromStdString(TravelLimits::lineReason(*breach)) : QString();
}

LinkStatus ControlLayer::moveAndReadBack(const Position& microsteps)
{
    emit moveStarted(Units::microstepsToMicrons(m_state.lastDrawn));
    m_state.busy = true;
    emit moveLockChanged(true);
    emit busyChanged(true);

    // The wait pumps messages; Stop may clear the busy flag meanwhile.
    LinkStatus status = noted(m_controller.move(microsteps, m_state.busy, m_moveTimeoutMs));
    const bool timedOut = status == LinkStatus::TimedOut;
    if (timedOut) {
        // The move must not go on unattended: stopped, and read back as after Stop.
        m_state.busy = false;
        status = noted(m_controller.interrupt());
    }
    if (status == LinkStatus::Failed) {
        emit moveLockChanged(false);
        emit busyChanged(m_state.busy);
        return status; // the program is ending
    }

    m_clock.sleepMs(SerialLink::settleMs);
    emit moveLockChanged(false);
    emit busyChanged(m_state.busy);
    status = getPosition();
    if (status != LinkStatus::Failed)
        status = getPosition();
    if (status != LinkStatus::Failed)
        markerRefresh();
    return timedOut && status != LinkStatus::Failed ? LinkStatus::TimedOut : status;
}

void ControlLayer::markerRefresh()
{
    // Observers draw it before the last-drawn position changes, as the
    // view's own repaint reads it.
    emit markerMoved(m_state.lastDrawn, m_state.current);
    m_state.lastDrawn = m_state.current;
}

LinkStatus ControlLayer::restoreVelocity()
{
    return noted(m_controller.setVelocity(VelocityWord::encode(m_state.velocity, false)));
}

LinkStatus ControlLayer::initialExchange()
{
    LinkStatus status = getPosition();
    if (status != LinkStatus::Failed)
        status = getPosition();
    if (status == LinkStatus::Failed)
        return status;
    m_state.lastDrawn = m_state.current;
    return restoreVelocity();
}

void ControlLayer::stop()
{
    m_state.busy = false;
    noted(m_controller.interrupt());
    emit busyChanged(false);
}

LinkStatus ControlLayer::refreshDisplay()
{
    return noted(m_controller.refreshDisplay());
}

LinkStatus ControlLayer::queryStatus(std::array<int, StatusBlock::count>* numbers)
{
    return noted(m_controller.queryStatus(numbers));
}

bool& ControlLayer::busy()
{
    return m_state.busy;
}

void ControlLayer::refreshControls()
{
    emit busyChanged(m_state.busy);
}

LinkStatus ControlLayer::sendVelocity(quint16 word)
{
    return noted(m_controller.setVelocity(word));
}

LinkStatus ControlLayer::sendContinue()
{
    return noted(m_controller.continueRun());
}

LinkStatus ControlLayer::writeContinueAndPurge()
{
    return noted(m_link.writeAndPurgeAtOnce(Commands::continueRun()));
}

LinkStatus ControlLayer::writeInterrupt()
{
    return noted(m_controller.interrupt());
}

void ControlLayer::yieldTurn()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void ControlLayer::runStarted(HostExecutor& executor)
{
    m_runs.push_back(&executor);
}

void ControlLayer::runEnded(HostExecutor& executor)
{
    const auto it = std::find(m_runs.rbegin(), m_runs.rend(), &executor);
    if (it != m_runs.rend())
        m_runs.erase(std::next(it).base());
    if (m_runs.empty())
        emit runsEnded();
}

void ControlLayer::haltRuns()
{
    // A copy: a halt refreshes the controls, which may run events.
    std::vector<HostExecutor*> runs = m_runs;
    std::sort(runs.begin(), runs.end());
    runs.erase(std::unique(runs.begin(), runs.end()), runs.end());
    for (HostExecutor* run : runs)
        run->halt();
}
