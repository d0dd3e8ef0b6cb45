#pragma once

#include "LinkStatus.h"

#include <QString>

class Controller;
class Prompts;

// The two confirmed controller operations of Hardware Setup, without
// widgets: reset the controller, and make the manipulator's current position
// the controller's origin. Each asks first; on Yes its command goes out with
// send and settle (write, 100 ms, input purge), and no reply is read. The
// position display is not read back: it changes at the next get position.
class HardwareSetup {
public:
    static const QString caption;
    static const QString resetQuestion;
    static const QString setOriginQuestion;

    HardwareSetup(Controller& controller, Prompts& prompts);

    // True when the operator said Yes and the command was handed to the link.
    bool reset();
    bool setOrigin();

private:
    bool confirm(const QString& question);

    Controller& m_controller;
    Prompts& m_prompts;
};
