#include "SimPort.h"

#include "Commands.h"

SimPort::SimPort(qx410sim::SimController& controller, VirtualClock& clock)
    : m_controller(controller)
    , m_clock(clock)
{
}

bool SimPort::open(const QString& device)
{
    openedDevices.append(device);
    if (!m_refuseOpen.isEmpty()) {
        m_error = m_refuseOpen;
        return false;
    }
    m_open = true;
    m_failed = false;
    return true;
}

bool SimPort::applySettings(const LineSettings& s)
{
    if (!m_open || m_refuseSettings || !LineSettings::isSupportedBaud(s.baud))
        return false;
    settings = s;
    return true;
}

void SimPort::close()
{
    m_open = false;
    m_rx.clear();
}

void SimPort::pull()
{
    if (m_vanishAt && m_clock.nowMs() >= *m_vanishAt && m_open) {
        m_failed = true;
        m_error = QStringLiteral("No such device");
    }
    if (!m_open || m_failed)
        return;
    const std::vector<std::uint8_t> out = m_controller.takeOutput(m_clock.nowMs());
    m_rx.append(reinterpret_cast<const char*>(out.data()), static_cast<qsizetype>(out.size()));
}

bool SimPort::write(const QByteArray& bytes, int)
{
    pull();
    if (!m_open || m_failed)
        return false;
    written += bytes;
    m_controller.receive(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()),
                         m_clock.nowMs());
    return true;
}

qint64 SimPort::bytesAvailable()
{
    pull();
    return m_rx.size();
}

QByteArray SimPort::read(qint64 maxBytes)
{
    pull();
    const QByteArray out = m_rx.left(maxBytes);
    m_rx.remove(0, out.size());
    return out;
}

bool SimPort::waitForData(int timeoutMs)
{
    const qint64 deadline = m_clock.nowMs() + timeoutMs;
    const qint64 before = bytesAvailable();
    for (int guard = 0; guard < 10000; ++guard) {
        if (m_failed || !m_open)
            return false;
        std::optional<std::int64_t> next = m_controller.nextEventMs();
        if (m_vanishAt && (!next || *m_vanishAt < *next))
            next = *m_vanishAt;
        if (!next || *next > deadline) {
            m_clock.advanceTo(deadline);
            return bytesAvailable() > before;
        }
        m_clock.advanceTo(*next);
        if (bytesAvailable() > before)
            return true;
        if (*next <= m_clock.nowMs() && m_controller.nextEventMs() == next && !m_vanishAt)
            m_clock.advanceTo(*next + 1); // an event that produced nothing: move on
    }
    return bytesAvailable() > before;
}

void SimPort::clear(bool)
{
    ++clears;
    pull();
    m_rx.clear();
}

void SimPort::placeController(const Position& microsteps)
{
    const QByteArray move = Commands::move(microsteps);
    m_controller.receive(reinterpret_cast<const std::uint8_t*>(move.constData()), static_cast<std::size_t>(move.size()),
                         m_clock.nowMs());
    m_clock.advanceTo(m_clock.nowMs() + 60 * 60 * 1000);
    clear(true);
    --clears; // not a clear the host asked for
}

Position SimPort::controllerAt() const
{
    const qx410sim::SimController::Axes a = m_controller.position(m_clock.nowMs());
    return Position{a.x, a.y, a.z};
}
