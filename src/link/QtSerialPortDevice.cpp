#include "QtSerialPortDevice.h"

#include <QDeadlineTimer>

QtSerialPortDevice::QtSerialPortDevice()
{
    QObject::connect(&m_port, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
        // A pulled USB adapter or a vanished device shows up as a resource
        // error; anything but a time-out of a waitFor call is a real fault.
        if (e == QSerialPort::NoError || e == QSerialPort::TimeoutError)
            return;
        m_error = m_port.errorString();
        if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError || e == QSerialPort::WriteError)
            m_failed = true;
    });
}

bool QtSerialPortDevice::open(const QString& device)
{
    m_failed = false;
    m_error.clear();
    // QSerialPort opens exclusively (it locks the device under the name
    // given) and never shares it; the lock on the canonical device also
    // keeps out root and the device's other names.
    if (!m_lock.acquire(device, &m_error))
        return false;
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = m_port.errorString();
        m_lock.release();
        return false;
    }
    return true;
}

bool QtSerialPortDevice::applySettings(const LineSettings& s)
{
    if (!m_port.isOpen() || !LineSettings::isSupportedBaud(s.baud))
        return false;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    if (s.parity == 'E')
        parity = QSerialPort::EvenParity;
    else if (s.parity == 'O')
        parity = QSerialPort::OddParity;
    const bool ok = m_port.setBaudRate(s.baud) && m_port.setParity(parity)
        && m_port.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits))
        && m_port.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop)
        && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok)
        m_error = m_port.errorString();
    return ok;
}

void QtSerialPortDevice::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_lock.release();
}

bool QtSerialPortDevice::isOpen() const
{
    return m_port.isOpen();
}

bool QtSerialPortDevice::write(const QByteArray& bytes, int timeoutMs)
{
    if (m_failed || !m_port.isOpen())
        return false;
    if (m_port.write(bytes) != bytes.size())
        return false;
    QDeadlineTimer deadline(timeoutMs);
    while (m_port.bytesToWrite() > 0) {
        if (m_failed || deadline.hasExpired())
            return false;
        m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
    }
    return !m_failed;
}

qint64 QtSerialPortDevice::bytesAvailable()
{
    return m_port.bytesAvailable();
}

QByteArray QtSerialPortDevice::read(qint64 maxBytes)
{
    return m_port.read(maxBytes);
}

bool QtSerialPortDevice::waitForData(int timeoutMs)
{
    if (m_failed || !m_port.isOpen())
        return false;
    return m_port.waitForReadyRead(timeoutMs);
}

void QtSerialPortDevice::clear(bool transmitToo)
{
    if (!m_port.isOpen())
        return;
    // QSerialPort::clear() drops both its own buffer and the driver's.
    m_port.clear(transmitToo ? QSerialPort::AllDirections : QSerialPort::Input);
}

bool QtSerialPortDevice::failed() const
{
    return m_failed;
}

QString QtSerialPortDevice::errorText() const
{
    return m_error;
}
