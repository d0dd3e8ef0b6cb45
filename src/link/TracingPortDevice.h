#pragma once

#include "PortDevice.h"
#include "TrafficObserver.h"

#include <QList>

class Clock;

// A port device that passes everything through to another one and tells its
// observers what crossed the line: each write as one sent line, the bytes
// that had arrived whenever the link reads as one received line, and bytes
// thrown away by a purge as one discarded line. The bytes exchanged with the
// controller are the same with or without observers; without any it only
// forwards.
//
// Sent bytes are named by their command byte; the program steps that follow
// a store-program header (no command byte of their own) are named "program
// step".
class TracingPortDevice : public PortDevice
{
public:
    TracingPortDevice(PortDevice& inner, const Clock& clock);

    void addObserver(TrafficObserver* observer);
    void removeObserver(TrafficObserver* observer);
    bool isObserved() const { return !m_observers.isEmpty(); }

    // The name of a command as sent, given how many program steps are still
    // expected after a store-program header; updates that count.
    static QString nameSent(const QByteArray& bytes, int& stepsExpected);

    bool open(const QString& device) override;
    bool applySettings(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& bytes, int timeoutMs) override;
    qint64 bytesAvailable() override;
    QByteArray read(qint64 maxBytes) override;
    bool waitForData(int timeoutMs) override;
    void clear(bool transmitToo) override;
    bool failed() const override;
    QString errorText() const override;

private:
    void tell(TrafficLine::Direction direction, const QByteArray& bytes, const QString& name);

    PortDevice& m_inner;
    const Clock& m_clock;
    QList<TrafficObserver*> m_observers;
    // Bytes taken from the inner device while observed and not yet read.
    QByteArray m_pending;
    QString m_lastSent;
    int m_stepsExpected = 0;
};
