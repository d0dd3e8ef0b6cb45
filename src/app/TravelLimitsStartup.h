#pragma once

#include <QString>

class ControlLayer;
class Prompts;

// Start-up of the desktop program: the travel limits file in the settings
// folder put in force in the control layer. No file: no limits, nothing said.
// A file that cannot be read: one warning box naming it and why, and no
// limits in force (the file is left as it is).
class TravelLimitsStartup {
public:
    static const QString caption;

    static void load(const QString& folder, ControlLayer& control, Prompts& prompts);
};
