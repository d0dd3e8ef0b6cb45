#include "TrafficLog.h"

#include <QDateTime>

#include <algorithm>

TrafficLog::TrafficLog(int capacity)
    : m_capacity(std::max(1, capacity))
{
}

void TrafficLog::exchanged(const TrafficLine& line)
{
    while (isFull())
        dropOldest();
    m_lines.push_back(line);
}

void TrafficLog::dropOldest()
{
    if (!m_lines.empty())
        m_lines.pop_front();
}

void TrafficLog::clear()
{
    m_lines.clear();
}

QString TrafficLog::text() const
{
    QString out;
    for (const TrafficLine& line : m_lines)
        out += format(line) + QLatin1Char('\n');
    return out;
}

QString TrafficLog::timeText(qint64 timeMs)
{
    return QDateTime::fromMSecsSinceEpoch(timeMs).toString(QStringLiteral("HH:mm:ss.zzz"));
}

QString TrafficLog::directionText(TrafficLine::Direction direction)
{
    switch (direction) {
    case TrafficLine::Direction::Sent:
        return QStringLiteral("sent");
    case TrafficLine::Direction::Received:
        return QStringLiteral("received");
    case TrafficLine::Direction::Discarded:
        break;
    }
    return QStringLiteral("discarded");
}

QString TrafficLog::hexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString TrafficLog::format(const TrafficLine& line)
{
    return timeText(line.timeMs) + QLatin1Char('\t') + directionText(line.direction) + QLatin1Char('\t')
        + hexText(line.bytes) + QLatin1Char('\t') + line.name;
}
