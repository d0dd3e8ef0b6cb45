#pragma once

// Readable failure messages for the Setup Communications tests.

#include "CommChoice.h"
#include "Printing.h"

#include <ostream>

inline void PrintTo(const CommChoice& c, std::ostream* os)
{
    *os << "{port " << c.port << ", baud \"" << c.baudText.toStdString() << "\"}";
}
