#pragma once

#include "TrafficObserver.h"

#include <QString>
#include <deque>

// The last lines of the serial exchange, at most capacity of them: the
// oldest goes when a new one comes. Also turns a line into the text the
// traffic window, its saved file and the trace file show:
//
//   14:02:31.207<TAB>sent<TAB>63 0D<TAB>position query
//
// time of day (local), direction ("sent", "received" or "discarded"), the
// bytes in upper-case hex separated by spaces, the command's name.
class TrafficLog : public TrafficObserver
{
public:
    static constexpr int defaultCapacity = 10000;

    explicit TrafficLog(int capacity = defaultCapacity);

    // Adds the line, dropping the oldest one when the log is full.
    void exchanged(const TrafficLine& line) override;
    bool isFull() const { return size() >= m_capacity; }
    void dropOldest();
    void clear();

    int capacity() const { return m_capacity; }
    int size() const { return static_cast<int>(m_lines.size()); }
    const TrafficLine& at(int row) const { return m_lines.at(static_cast<std::size_t>(row)); }
    // Every line as text, each ended by a line break.
    QString text() const;

    static QString timeText(qint64 timeMs);
    static QString directionText(TrafficLine::Direction direction);
    static QString hexText(const QByteArray& bytes);
    static QString format(const TrafficLine& line);

private:
    int m_capacity;
    std::deque<TrafficLine> m_lines;
};
