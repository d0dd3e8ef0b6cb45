#pragma once

#include "PortDevice.h"
#include "Position.h"
#include "VirtualClock.h"

#include <SimController.h>

#include <QStringList>
#include <optional>

// A serial port with the simulated controller behind it, in this process and
// on the virtual clock: waiting for data advances the clock to the moment the
// controller next sends something.
class SimPort : public PortDevice
{
public:
    SimPort(qx410sim::SimController& controller, VirtualClock& clock);

    bool open(const QString& device) override;
    bool applySettings(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray& bytes, int timeoutMs) override;
    qint64 bytesAvailable() override;
    QByteArray read(qint64 maxBytes) override;
    bool waitForData(int timeoutMs) override;
    void clear(bool transmitToo) override;
    bool failed() const override { return m_failed; }
    QString errorText() const override { return m_error; }

    // Test controls.
    void refuseOpen(const QString& reason) { m_refuseOpen = reason; }
    void refuseSettings(bool refuse) { m_refuseSettings = refuse; }
    // The device vanishes (a pulled adapter) once the clock reaches atMs.
    void vanishAt(qint64 atMs) { m_vanishAt = atMs; }
    // Puts the controller at a position (microsteps) as if moved by its own
    // controls: the move goes straight to it, the clock runs on until it has
    // arrived, and what it sent meanwhile is dropped.
    void placeController(const Position& microsteps);
    // Where the controller stands now (microsteps).
    Position controllerAt() const;
    // Bytes that arrive from the controller's side at the current time.
    void inject(const QByteArray& bytes) { m_rx += bytes; }

    // What the host wrote since the last call, as spaced upper-case hex.
    QByteArray takeWritten()
    {
        const QByteArray hex = written.toHex(' ').toUpper();
        written.clear();
        return hex;
    }

    QByteArray written;          // everything the host wrote
    QStringList openedDevices;   // every device open() was asked for
    int clears = 0;              // every clear() call
    std::optional<LineSettings> settings;

private:
    void pull();

    qx410sim::SimController& m_controller;
    VirtualClock& m_clock;
    QByteArray m_rx;
    bool m_open = false;
    bool m_failed = false;
    QString m_error;
    QString m_refuseOpen;
    bool m_refuseSettings = false;
    std::optional<qint64> m_vanishAt;
};
