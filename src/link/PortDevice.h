#pragma once

#include "LineSettings.h"

#include <QByteArray>
#include <QString>

// One serial device as the link uses it. The real implementation wraps
// QSerialPort; tests put an in-process simulated controller behind it.
class PortDevice
{
public:
    virtual ~PortDevice() = default;

    // Opens the device for reading and writing, exclusively.
    virtual bool open(const QString& device) = 0;
    virtual bool applySettings(const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Writes all bytes and returns when they have left, or false when the
    // write failed or did not finish within timeoutMs.
    virtual bool write(const QByteArray& bytes, int timeoutMs) = 0;
    // Bytes received and not yet read.
    virtual qint64 bytesAvailable() = 0;
    virtual QByteArray read(qint64 maxBytes) = 0;
    // Blocks until more bytes arrive (true) or timeoutMs passes (false).
    virtual bool waitForData(int timeoutMs) = 0;
    // Discards the receive buffer, and the transmit buffer too when asked.
    virtual void clear(bool transmitToo) = 0;

    // True once the device has gone away or reported an input/output error.
    virtual bool failed() const = 0;
    // The system's reason for the last failure, for messages.
    virtual QString errorText() const = 0;
};
