#pragma once

#include <QByteArray>
#include <QString>

// One step of the serial exchange as the traffic log shows it.
struct TrafficLine
{
    enum class Direction { Sent, Received, Discarded };

    qint64 timeMs = 0; // milliseconds since the epoch
    Direction direction = Direction::Sent;
    QByteArray bytes;
    // The command the bytes belong to, by the command table's name: the
    // command sent, or for received and discarded bytes the last command sent.
    QString name;
};

// Told about every step of the serial exchange (see TracingPortDevice).
class TrafficObserver
{
public:
    virtual ~TrafficObserver() = default;
    virtual void exchanged(const TrafficLine& line) = 0;
    // The port has been opened (at start-up, or again after a recovery or a
    // change of port).
    virtual void portOpened() {}
};
