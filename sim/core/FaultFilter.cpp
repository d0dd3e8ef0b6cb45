#include "FaultFilter.h"

namespace qx410sim {

namespace {
constexpr std::uint32_t kRandomSeed = 0x51A04100u;
}

FaultFilter::FaultFilter(Faults faults)
    : m_faults(faults)
    , m_randomState(kRandomSeed)
{
}

bool FaultFilter::active(std::size_t commandsReceived) const
{
    const bool anyFault = m_faults.silent || m_faults.shortReplies || m_faults.garbage || m_faults.badCount;
    if (!anyFault)
        return false;
    const std::size_t threshold = m_faults.afterCommands > 0 ? static_cast<std::size_t>(m_faults.afterCommands) : 0;
    return commandsReceived > threshold;
}

void FaultFilter::deliver(const std::vector<std::uint8_t>& reply, std::size_t commandsReceived,
                       std::vector<std::uint8_t>& out)
{
    if (!active(commandsReceived)) {
        out.insert(out.end(), reply.begin(), reply.end());
        return;
    }
    if (m_faults.silent)
        return;
    const std::size_t length = m_faults.shortReplies ? reply.size() / 2 : reply.size();
    for (std::size_t i = 0; i < length; ++i)
        out.push_back(m_faults.garbage ? nextRandomByte() : reply[i]);
}

std::uint8_t FaultFilter::nextRandomByte()
{
    // xorshift32: small, fast and the same on every platform.
    std::uint32_t x = m_randomState;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    m_randomState = x;
    return static_cast<std::uint8_t>(x >> 24);
}

} // namespace qx410sim
