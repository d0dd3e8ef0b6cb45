#pragma once

#include "DeviceLock.h"
#include "PortDevice.h"

#include <QSerialPort>

// The real serial port. Reads are buffered by QSerialPort, which also
// delivers data through the event loop, so a wait that pumps events wakes as
// soon as bytes arrive.
class QtSerialPortDevice : public PortDevice
{
public:
    QtSerialPortDevice();

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

    QSerialPort& port() { return m_port; }

private:
    DeviceLock m_lock; // taken before the port opens, released after it closes
    QSerialPort m_port;
    bool m_failed = false;
    QString m_error;
};
