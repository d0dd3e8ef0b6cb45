#include "TracingPortDevice.h"

#include "Clock.h"
#include "Commands.h"
#include "LittleEndian.h"

TracingPortDevice::TracingPortDevice(PortDevice& inner, const Clock& clock)
    : m_inner(inner)
    , m_clock(clock)
{
}

void TracingPortDevice::addObserver(TrafficObserver* observer)
{
    if (observer && !m_observers.contains(observer))
        m_observers.append(observer);
}

void TracingPortDevice::removeObserver(TrafficObserver* observer)
{
    m_observers.removeAll(observer);
}

QString TracingPortDevice::nameSent(const QByteArray& bytes, int& stepsExpected)
{
    if (bytes.isEmpty())
        return QString();
    if (stepsExpected > 0) {
        --stepsExpected;
        return QStringLiteral("program step");
    }
    const QString name = Commands::name(bytes.at(0));
    // The header tells how many 14-byte steps follow without command byte.
    if (bytes.at(0) == 'd' && bytes.size() >= 5)
        stepsExpected = static_cast<quint16>(LittleEndian::read16(bytes, 3));
    return name.isEmpty() ? QStringLiteral("unknown") : name;
}

void TracingPortDevice::tell(TrafficLine::Direction direction, const QByteArray& bytes, const QString& name)
{
    if (bytes.isEmpty())
        return;
    TrafficLine line;
    line.timeMs = m_clock.nowMs();
    line.direction = direction;
    line.bytes = bytes;
    line.name = name;
    // An observer may remove itself while being told.
    const QList<TrafficObserver*> observers = m_observers;
    for (TrafficObserver* observer : observers)
        observer->exchanged(line);
}

bool TracingPortDevice::open(const QString& device)
{
    m_pending.clear();
    m_stepsExpected = 0;
    if (!m_inner.open(device))
        return false;
    const QList<TrafficObserver*> observers = m_observers;
    for (TrafficObserver* observer : observers)
        observer->portOpened();
    return true;
}

bool TracingPortDevice::applySettings(const LineSettings& settings) { return m_inner.applySettings(settings); }

void TracingPortDevice::close()
{
    m_pending.clear();
    m_inner.close();
}

bool TracingPortDevice::isOpen() const { return m_inner.isOpen(); }

bool TracingPortDevice::write(const QByteArray& bytes, int timeoutMs)
{
    if (!isObserved())
        return m_inner.write(bytes, timeoutMs);
    m_lastSent = nameSent(bytes, m_stepsExpected);
    tell(TrafficLine::Direction::Sent, bytes, m_lastSent);
    return m_inner.write(bytes, timeoutMs);
}

qint64 TracingPortDevice::bytesAvailable()
{
    return m_pending.size() + m_inner.bytesAvailable();
}

QByteArray TracingPortDevice::read(qint64 maxBytes)
{
    if (isObserved()) {
        // Everything that has arrived is shown at once, however the link
        // then takes it (a whole reply, or byte by byte up to a CR).
        const QByteArray arrived = m_inner.read(m_inner.bytesAvailable());
        tell(TrafficLine::Direction::Received, arrived, m_lastSent);
        m_pending += arrived;
    }
    if (m_pending.isEmpty())
        return m_inner.read(maxBytes);
    const QByteArray out = m_pending.left(maxBytes);
    m_pending.remove(0, out.size());
    if (out.size() < maxBytes)
        return out + m_inner.read(maxBytes - out.size());
    return out;
}

bool TracingPortDevice::waitForData(int timeoutMs)
{
    // The link waits only when it needs more than is at hand, the bytes
    // already taken from the inner device included: so wait for new ones on
    // the inner device, exactly as without tracing.
    return m_inner.waitForData(timeoutMs);
}

void TracingPortDevice::clear(bool transmitToo)
{
    if (isObserved()) {
        const QByteArray dropped = m_pending + m_inner.read(m_inner.bytesAvailable());
        tell(TrafficLine::Direction::Discarded, dropped, m_lastSent);
    }
    m_pending.clear();
    m_inner.clear(transmitToo);
}

bool TracingPortDevice::failed() const { return m_inner.failed(); }
QString TracingPortDevice::errorText() const { return m_inner.errorText(); }
