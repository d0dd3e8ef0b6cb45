#pragma once

#include "SimController.h"
#include "SimWire.h"

#include <cstdint>

namespace simtest {

// A controller driven with explicit millisecond timestamps: send() delivers a frame
// at a time and returns what the controller has sent by then.
class Harness
{
public:
    explicit Harness(qx410sim::Faults faults = {})
        : m_sim(faults)
    {
    }

    Bytes send(const Bytes& bytes, std::int64_t nowMs)
    {
        m_sim.receive(bytes.data(), bytes.size(), nowMs);
        return m_sim.takeOutput(nowMs);
    }

    Bytes outputAt(std::int64_t nowMs) { return m_sim.takeOutput(nowMs); }

    qx410sim::Triple positionAt(std::int64_t nowMs) const
    {
        const auto p = m_sim.position(nowMs);
        return {p.x, p.y, p.z};
    }

    qx410sim::SimController& sim() { return m_sim; }

private:
    qx410sim::SimController m_sim;
};

inline const Bytes kCompletion{qx410sim::SimController::kCompletionByte};

} // namespace simtest
