#pragma once

#include "Position.h"

#include <array>

// The five stored positions in whole micrometres: home, positions 1 to 3
// and the previous position.
struct StoredSlots
{
    enum Stored { Home = 0, Position1, Position2, Position3, Previous, StoredCount };

    std::array<Position, StoredCount> stored{};
};
