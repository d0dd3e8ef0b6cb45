#include "LayerProgramHost.h"

#include "ControlLayer.h"
#include "VelocityWord.h"

LayerProgramHost::LayerProgramHost(ControlLayer& control)
    : m_control(control)
{
}

quint16 LayerProgramHost::startVelocityWord() const
{
    return VelocityWord::encode(m_control.velocitySetting(), m_control.isHighResolution());
}

TravelLimits LayerProgramHost::travelLimits() const
{
    return m_control.travelLimits();
}

LinkStatus LayerProgramHost::getPosition()
{
    return m_control.getPosition();
}

void LayerProgramHost::markerRefresh()
{
    m_control.markerRefresh();
}

LinkStatus LayerProgramHost::restoreVelocity()
{
    return m_control.restoreVelocity();
}
