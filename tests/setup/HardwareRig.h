#pragma once

// The controller hardware on the bench for the Velocity, Resolution and
// Hardware Setup tests: the simulated controller behind a real link, on the
// virtual clock, with scripted prompts and the control layer's settings.
// mark() starts a fresh count of what the host sent, slept and purged.

#include "Commands.h"
#include "ControlLayer.h"
#include "Controller.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SerialSettings.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <gtest/gtest.h>

struct HardwareRig {
    HardwareRig()
        : port(controller, clock)
        , link(port, clock, prompts, serial)
        , control(link)
    {
        EXPECT_EQ(link.open(), SerialLink::OpenResult::Opened);
        mark();
    }

    void mark()
    {
        m_written = port.written.size();
        m_clears = port.clears;
        m_slept = clock.slept();
    }
    // Since the last mark().
    QByteArray sent() const { return port.written.mid(m_written); }
    int purges() const { return port.clears - m_clears; }
    qint64 slept() const { return clock.slept() - m_slept; }

    // Puts the simulated controller somewhere (microsteps) without the host.
    void placeController(const Position& p)
    {
        port.placeController(p);
        mark();
    }

    // The two status panes as the main window draws them from the settings
    // (CMainFrame::updatePaneTexts), with what had been sent when they were
    // last drawn.
    void updatePanes()
    {
        resolutionPane = state.resolution == ControlState::lowResolution ? QStringLiteral("\tRes:   LOW")
                                                                           : QStringLiteral("\tRes:   HIGH");
        velocityPane = QStringLiteral("\tVelocity:   %1").arg(state.velocity);
        ++paneUpdates;
        sentAtPaneUpdate = sent();
    }

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port;
    ScriptedPrompts prompts;
    SerialSettings serial;
    SerialLink link;
    Controller control;
    ControlLayer layer { link, clock };
    ControlState& state = layer.state();
    QString resolutionPane;
    QString velocityPane;
    int paneUpdates = 0;
    QByteArray sentAtPaneUpdate;

private:
    qsizetype m_written = 0;
    int m_clears = 0;
    qint64 m_slept = 0;
};
