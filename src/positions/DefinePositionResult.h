#pragma once

#include "Position.h"

// What the Define Position dialog hands back when it closes. The stored
// position becomes `microns` whichever button closed the dialog: after OK the
// three checked fields, after Cancel the values the dialog held before the
// operator typed (the triple it was opened with, or the position last fetched
// with "Get Current Position").
struct DefinePositionResult
{
    Position microns; // whole micrometres
    bool accepted = false; // closed with OK
};
