#pragma once

#include "StepValues.h"

#include <string>
#include <vector>

// The command-file lines (without CR LF) that an uploaded program becomes: a
// pause step gives "Pause  "; any other step gives a speed line when its
// velocity field differs from the last one written ("High,  " with the low 15
// bits when the field is negative, "Low,  " with the value otherwise), then
// "Move, X, Y, Z" in whole micrometres, divided by 25 and truncated toward
// zero.
class UploadLines
{
public:
    static std::vector<std::string> of(const std::vector<StepValues>& steps);
};
