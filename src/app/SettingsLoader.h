#pragma once

#include <QString>
#include <functional>
#include <string>

class Prompts;
struct ControlState;
struct MainFrameState;
struct SerialSettings;
struct SettingsValues;

// Reads Qx410.ini into the serial settings, the main window's state and the
// control layer's settings when the main window is built, and writes it back when the window goes away.
class SettingsLoader
{
public:
    // Shows Setup Communications in start-up mode; false means Cancel.
    using AskPort = std::function<bool()>;

    SettingsLoader(SerialSettings& serial, MainFrameState& state, ControlState& control, Prompts& prompts,
                   AskPort askPort);

    // A valid file sets port name, framing (and the baud text it names),
    // positions, velocity, resolution and step size. Without one, Setup
    // Communications asks for port and rate; Cancel ends the program
    // (returns false). The main window's values then keep their defaults.
    bool load(const std::string& path);
    // Takes the step size from the step-size box's text, then writes the
    // file; "ini wrong" when it cannot be written.
    bool save(const std::string& path, const QString& stepSizeText);

    static void apply(const SettingsValues& values, SerialSettings& serial, MainFrameState& state,
                      ControlState& control);
    static SettingsValues collect(const SerialSettings& serial, const MainFrameState& state,
                                  const ControlState& control);

private:
    SerialSettings& m_serial;
    MainFrameState& m_state;
    ControlState& m_control;
    Prompts& m_prompts;
    AskPort m_askPort;
};
