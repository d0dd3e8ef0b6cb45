#pragma once

#include "Faults.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qx410sim {

// Applies the configured Faults to the controller's replies, one whole reply at a time.
class FaultFilter
{
public:
    explicit FaultFilter(Faults faults);

    // Whether replies are affected once `commandsReceived` commands have been taken in.
    bool active(std::size_t commandsReceived) const;

    // Appends `reply` to `out`, spoiled as configured when the faults are active.
    void deliver(const std::vector<std::uint8_t>& reply, std::size_t commandsReceived, std::vector<std::uint8_t>& out);

    const Faults& faults() const { return m_faults; }

private:
    std::uint8_t nextRandomByte();

    Faults m_faults;
    std::uint32_t m_randomState;
};

} // namespace qx410sim
