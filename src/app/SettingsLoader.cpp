#include "SettingsLoader.h"

#include "ControlState.h"
#include "MainFrameState.h"
#include "ManualMoveLogic.h"
#include "Prompts.h"
#include "SerialSettings.h"
#include "SettingsFile.h"

SettingsLoader::SettingsLoader(SerialSettings& serial, MainFrameState& state, ControlState& control, Prompts& prompts,
                               AskPort askPort)
    : m_serial(serial)
    , m_state(state)
    , m_control(control)
    , m_prompts(prompts)
    , m_askPort(std::move(askPort))
{
}

void SettingsLoader::apply(const SettingsValues& values, SerialSettings& serial, MainFrameState& state,
                           ControlState& control)
{
    serial.portName = QString::fromStdString(values.portName);
    serial.framing = QString::fromStdString(values.framing);
    // The file carries the baud rate only inside the framing string; the
    // baud text follows it so that Setup Communications shows the open rate.
    serial.baudText = QString::fromStdString(SettingsFile::baudTextOf(values.framing));
    for (std::size_t i = 0; i < values.positions.size(); ++i)
        state.stored[i] = Position{values.positions[i][0], values.positions[i][1], values.positions[i][2]};
    control.velocity = values.velocity;
    control.resolution = values.resolution;
    state.stepSize = values.stepSize;
}

SettingsValues SettingsLoader::collect(const SerialSettings& serial, const MainFrameState& state,
                                       const ControlState& control)
{
    SettingsValues values;
    values.portName = serial.portName.toStdString();
    values.framing = serial.framing.toStdString();
    for (std::size_t i = 0; i < values.positions.size(); ++i)
        values.positions[i] = {state.stored[i].x, state.stored[i].y, state.stored[i].z};
    values.velocity = control.velocity;
    values.resolution = control.resolution;
    values.stepSize = state.stepSize;
    return values;
}

bool SettingsLoader::load(const std::string& path)
{
    if (const std::optional<SettingsValues> values = SettingsFile::read(path)) {
        apply(*values, m_serial, m_state, m_control);
        return true;
    }
    m_serial.startupMode = true;
    const bool accepted = m_askPort && m_askPort();
    m_serial.startupMode = false;
    if (!accepted) {
        m_prompts.endProcess(-1);
        return false;
    }
    const MainFrameState defaults;
    m_state.stored = defaults.stored;
    const ControlState controlDefaults;
    m_control.velocity = controlDefaults.velocity;
    m_control.resolution = controlDefaults.resolution;
    m_state.stepSize = defaults.stepSize;
    return true;
}

bool SettingsLoader::save(const std::string& path, const QString& stepSizeText)
{
    m_state.stepSize = static_cast<float>(ManualMoveLogic::fieldValue(stepSizeText));
    if (SettingsFile::write(path, collect(m_serial, m_state, m_control)))
        return true;
    m_prompts.message(QStringLiteral("ini wrong"), QStringLiteral("Qx410"), Prompts::Icon::None, Prompts::Buttons::Ok);
    return false;
}
