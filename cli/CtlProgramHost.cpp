#include "CtlProgramHost.h"

#include "JsonLine.h"
#include "Units.h"
#include "VelocityWord.h"

CtlProgramHost::CtlProgramHost(SerialLink& link, quint16 startWord, const TravelLimits& limits, int program,
                               QTextStream& out, bool json)
    : m_controller(link)
    , m_startWord(startWord)
    , m_limits(limits)
    , m_program(program)
    , m_out(out)
    , m_json(json)
{
}

LinkStatus CtlProgramHost::getPosition()
{
    Position microsteps;
    const LinkStatus status = m_controller.queryPosition(&microsteps);
    if (status == LinkStatus::Ok) {
        m_out << JsonLine::positionLine(Units::microstepsToMicrons(microsteps), m_json) << "\n";
    }
    return status;
}

LinkStatus CtlProgramHost::restoreVelocity()
{
    return m_controller.setVelocity(VelocityWord::encode(VelocityWord::velocity(m_startWord), false));
}
