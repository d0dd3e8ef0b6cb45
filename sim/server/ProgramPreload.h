#pragma once

#include "SimController.h"

#include <string>

namespace qx410sim {

// Stores command files as programs before the simulator starts serving, the
// way a download would: each Move line a step at the velocity word in force
// (from the power-up word 1000), each Pause line a pause step. The argument
// of --programs is "N=FILE" for program N (1..10) or "FILE" for the lowest
// program not yet preloaded. Returns an empty string, or why the file was
// not stored.
class ProgramPreload
{
public:
    explicit ProgramPreload(SimController& controller);

    std::string add(const std::string& argument);

private:
    SimController& m_controller;
    bool m_used[SimController::kProgramCount] = {};
};

} // namespace qx410sim
