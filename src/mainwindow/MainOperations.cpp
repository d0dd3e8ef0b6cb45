#include "MainOperations.h"

#include "Clock.h"
#include "Commands.h"
#include "Controller.h"
#include "HostExecutor.h"
#include "MainFrameState.h"
#include "MainFrameUi.h"
#include "SerialLink.h"
#include "Units.h"
#include "VelocityWord.h"

#include <QCoreApplication>

#include <algorithm>

MainOperations::MainOperations(MainFrameState& state, Controller& controller, Clock& clock, MainFrameUi& ui)
    : m_state(state)
    , m_controller(controller)
    , m_clock(clock)
    , m_ui(ui)
{
}

LinkStatus MainOperations::getPosition()
{
    Position microsteps;
    const LinkStatus status = m_controller.queryPosition(&microsteps);
    if (status != LinkStatus::Ok)
        return status; // no reply: the read-out keeps its last values
    m_state.displayed = Units::microstepsToMicrons(microsteps);
    m_ui.showPanelPosition(m_state.displayed);
    m_state.current = microsteps;
    return status;
}

LinkStatus MainOperations::absoluteMove(const Position& microsteps)
{
    ++m_moves;
    const LinkStatus status = moveAndReadBack(microsteps);
    --m_moves;
    return status;
}

LinkStatus MainOperations::moveAndReadBack(const Position& microsteps)
{
    m_state.stored[MainFrameState::Previous] = Units::microstepsToMicrons(m_state.lastDrawn);
    m_state.busy = true;
    m_ui.setManualControlsEnabled(false);
    m_ui.updateCommandStates();

    // The wait pumps messages; Stop may clear the busy flag meanwhile.
    LinkStatus status = m_controller.move(microsteps, m_state.busy);
    if (status == LinkStatus::Failed) {
        m_ui.setManualControlsEnabled(true);
        m_ui.updateCommandStates();
        return status; // the program is ending
    }

    m_clock.sleepMs(SerialLink::settleMs);
    m_ui.setManualControlsEnabled(true);
    m_ui.updateCommandStates();
    status = getPosition();
    if (status != LinkStatus::Failed)
        status = getPosition();
    if (status != LinkStatus::Failed)
        markerRefresh();
    return status;
}

void MainOperations::markerRefresh()
{
    m_ui.moveMarker(m_state.lastDrawn, m_state.current);
    m_state.lastDrawn = m_state.current;
}

LinkStatus MainOperations::restoreVelocity()
{
    return m_controller.setVelocity(VelocityWord::encode(m_state.velocity, false));
}

LinkStatus MainOperations::initialExchange()
{
    LinkStatus status = getPosition();
    if (status != LinkStatus::Failed)
        status = getPosition();
    if (status == LinkStatus::Failed)
        return status;
    m_state.lastDrawn = m_state.current;
    return restoreVelocity();
}

void MainOperations::stop()
{
    m_state.busy = false;
    m_controller.interrupt();
}

bool& MainOperations::busy()
{
    return m_state.busy;
}

void MainOperations::refreshControls()
{
    m_ui.updateCommandStates();
}

LinkStatus MainOperations::sendVelocity(quint16 word)
{
    return m_controller.setVelocity(word);
}

LinkStatus MainOperations::sendContinue()
{
    return m_controller.continueRun();
}

LinkStatus MainOperations::writeContinueAndPurge()
{
    return m_controller.link().writeAndPurgeAtOnce(Commands::continueRun());
}

LinkStatus MainOperations::writeInterrupt()
{
    return m_controller.interrupt();
}

void MainOperations::yieldTurn()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void MainOperations::runStarted(HostExecutor& executor)
{
    m_runs.push_back(&executor);
}

void MainOperations::runEnded(HostExecutor& executor)
{
    const auto it = std::find(m_runs.rbegin(), m_runs.rend(), &executor);
    if (it != m_runs.rend())
        m_runs.erase(std::next(it).base());
    if (m_runs.empty() && m_onRunsEnded)
        m_onRunsEnded();
}

void MainOperations::haltRuns()
{
    // A copy: a halt refreshes the controls, which may run events.
    std::vector<HostExecutor*> runs = m_runs;
    std::sort(runs.begin(), runs.end());
    runs.erase(std::unique(runs.begin(), runs.end()), runs.end());
    for (HostExecutor* run : runs)
        run->halt();
}
