#include "CtlProgramHost.h"

#include "Units.h"
#include "VelocityWord.h"

CtlProgramHost::CtlProgramHost(SerialLink& link, quint16 startWord, int program, QTextStream& out)
    : m_controller(link)
    , m_startWord(startWord)
    , m_program(program)
    , m_out(out)
{
}

LinkStatus CtlProgramHost::getPosition()
{
    Position microsteps;
    const LinkStatus status = m_controller.queryPosition(&microsteps);
    if (status == LinkStatus::Ok) {
        const Position um = Units::microstepsToMicrons(microsteps);
        m_out << um.x << " " << um.y << " " << um.z << "\n";
    }
    return status;
}

LinkStatus CtlProgramHost::restoreVelocity()
{
    return m_controller.setVelocity(VelocityWord::encode(VelocityWord::velocity(m_startWord), false));
}
