#include "SerialLink.h"

#include "Clock.h"
#include "PortLock.h"
#include "PortNames.h"

#include <QFileInfo>

#include <algorithm>

const QString SerialLink::cannotOpenText = QStringLiteral("Cannot open serial port. Please check hardware.");
const QString SerialLink::cannotSetText = QStringLiteral("Cannot set serial port properly. Please check hardware.");
const QString SerialLink::noReplyText = QStringLiteral(
    "Cannot communicate with the controller.\r Please make sure controller is turned on!\r Or reset communication?");
const QString SerialLink::warningCaption = QStringLiteral("Warning");

namespace {
qint64 wholeSeconds(qint64 ms)
{
    // Floor division, so that times before the epoch still count whole seconds.
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}
} // namespace

SerialLink::SerialLink(PortDevice& port, Clock& clock, Prompts& prompts, SerialSettings& settings)
    : m_port(port)
    , m_clock(clock)
    , m_prompts(prompts)
    , m_settings(settings)
{
}

SerialLink::OpenResult SerialLink::open()
{
    m_device = PortNames::resolve(m_settings.portName, m_settings.portBindings).device;
    m_deviceFailed = false;
    if (!m_port.open(m_device)) {
        // Another program holding the port is "in use", not a permission problem.
        m_lastError = PortLock::openFailureReason(m_port.errorText(), PortLock::holder(m_device));
        return OpenResult::CannotOpen;
    }
    if (!applyFraming()) {
        m_lastError = m_port.errorText();
        m_port.close();
        return OpenResult::CannotConfigure;
    }
    return OpenResult::Opened;
}

bool SerialLink::openOrEnd()
{
    const OpenResult result = open();
    if (result == OpenResult::Opened)
        return true;
    m_prompts.messageWithDetail(result == OpenResult::CannotOpen ? cannotOpenText : cannotSetText, warningCaption,
                                Prompts::Icon::Warning, Prompts::Buttons::Ok, failureDetail(result));
    m_port.close();
    m_prompts.endProcess(-1);
    return false;
}

QString SerialLink::failureDetail(OpenResult result) const
{
    QString detail = QStringLiteral("%1 is %2.").arg(m_settings.portName, m_device);
    if (result == OpenResult::CannotConfigure) {
        detail += QStringLiteral(" The line settings %1 could not be applied").arg(m_settings.framing);
        return m_lastError.isEmpty() ? detail + QLatin1Char('.') : detail + QStringLiteral(": ") + m_lastError;
    }
    if (!m_lastError.isEmpty())
        detail += QLatin1Char(' ') + m_lastError;
    if (m_lastError.contains(QLatin1String("ermission")))
        detail += QStringLiteral("\nYour user must belong to the group that owns the serial devices (usually "
                                 "\"dialout\"); log in again after joining it.");
    return detail;
}

void SerialLink::close()
{
    m_port.close();
}

bool SerialLink::isOpen() const
{
    return m_port.isOpen();
}

bool SerialLink::applyFraming()
{
    const std::optional<LineSettings> settings = LineSettings::fromFraming(m_settings.framing);
    return settings && m_port.applySettings(*settings);
}

void SerialLink::applyNewSettings(bool portChanged)
{
    if (portChanged) {
        close();
        if (!openOrEnd())
            return;
    }
    if (!applyFraming())
        m_prompts.message(cannotSetText, warningCaption, Prompts::Icon::Warning, Prompts::Buttons::Ok);
}

LinkStatus SerialLink::write(const QByteArray& bytes)
{
    if (!m_port.write(bytes, writeTimeoutMs))
        return recover(m_port.failed() ? deviceFailureText() : QStringLiteral("writing to the port failed"));
    return LinkStatus::Ok;
}

qint64 SerialLink::remainingMs(qint64 deadlineMs) const
{
    return deadlineMs - m_clock.nowMs();
}

LinkStatus SerialLink::read(int count, QByteArray* out, int boundMs)
{
    // The bound runs from the last byte that arrived, not from the start: a
    // long answer that keeps coming is read whole, whatever its length, and
    // one that stops is given up boundMs after its last byte.
    qint64 deadline = m_clock.nowMs() + boundMs;
    qint64 arrived = m_port.bytesAvailable();
    while (arrived < count) {
        if (m_port.failed())
            return recover(deviceFailureText());
        const qint64 left = remainingMs(deadline);
        if (left <= 0)
            return recover(QStringLiteral("the controller sent %1 of %2 bytes, then nothing for %3 s")
                               .arg(arrived)
                               .arg(count)
                               .arg(boundMs / 1000.0));
        m_port.waitForData(static_cast<int>(left));
        const qint64 now = m_port.bytesAvailable();
        if (now > arrived) {
            arrived = now;
            deadline = m_clock.nowMs() + boundMs;
        }
    }
    const QByteArray bytes = m_port.read(count);
    if (out)
        *out = bytes;
    return LinkStatus::Ok;
}

LinkStatus SerialLink::waitForCr(int boundMs)
{
    const qint64 deadline = m_clock.nowMs() + boundMs;
    for (;;) {
        while (m_port.bytesAvailable() > 0) {
            if (m_port.read(1) == QByteArray(1, '\r'))
                return LinkStatus::Ok;
        }
        if (m_port.failed())
            return recover(deviceFailureText());
        const qint64 left = remainingMs(deadline);
        if (left <= 0)
            return recover(QStringLiteral("the controller did not end its answer with CR within %1 s").arg(boundMs / 1000));
        m_port.waitForData(static_cast<int>(left));
    }
}

bool SerialLink::inputWaiting()
{
    if (m_port.bytesAvailable() > 0)
        return true;
    // Take in whatever the system has received and not yet handed over.
    m_port.waitForData(0);
    return m_port.bytesAvailable() > 0;
}

void SerialLink::inputPurge()
{
    m_port.clear(true);
}

void SerialLink::receiveClear()
{
    m_port.clear(false);
}

LinkStatus SerialLink::writeAndPurgeAtOnce(const QByteArray& bytes)
{
    const LinkStatus status = write(bytes);
    receiveClear();
    return status;
}

LinkStatus SerialLink::sendAndSettle(const QByteArray& bytes)
{
    const LinkStatus status = write(bytes);
    if (status != LinkStatus::Ok)
        return status;
    m_clock.sleepMs(settleMs);
    inputPurge();
    return LinkStatus::Ok;
}

bool SerialLink::pumpOnce(qint64 deadlineMs)
{
    if (m_pump)
        return m_pump();
    // No window messages to serve (command line): wait on the port alone.
    const qint64 left = deadlineMs < 0 ? 1000 : std::clamp<qint64>(remainingMs(deadlineMs), 0, 1000);
    m_port.waitForData(static_cast<int>(left));
    return true;
}

LinkStatus SerialLink::longOperationWait(const QByteArray& command, bool& flag, int timeoutMs)
{
    const LinkStatus written = write(command);
    if (written != LinkStatus::Ok) {
        flag = false;
        return written;
    }
    const qint64 deadline = timeoutMs < 0 ? -1 : m_clock.nowMs() + timeoutMs;
    while (flag) {
        if (m_port.bytesAvailable() >= 1) {
            m_port.read(1); // the completion byte; its value means nothing
            flag = false;
            break;
        }
        if (m_port.failed()) {
            flag = false;
            return recover(deviceFailureText());
        }
        if (deadline >= 0 && remainingMs(deadline) <= 0) {
            flag = false;
            m_lastError = QStringLiteral("the controller did not report the end of the operation within %1 s")
                              .arg(timeoutMs / 1000.0);
            return LinkStatus::TimedOut;
        }
        if (!pumpOnce(deadline)) {
            flag = false;
            m_lastError = QStringLiteral("the application is quitting");
            return LinkStatus::Quit;
        }
    }
    return LinkStatus::Ok;
}

LinkStatus SerialLink::watchedRead(const QByteArray& query, int count, QByteArray* out)
{
    receiveClear();
    const LinkStatus written = write(query);
    if (written != LinkStatus::Ok)
        return written;
    const qint64 startSecond = wholeSeconds(m_clock.nowMs());
    const qint64 fireAtMs = (startSecond + replyWatchSeconds) * 1000;
    while (m_port.bytesAvailable() < count) {
        if (m_port.failed())
            return recover(deviceFailureText());
        const qint64 now = m_clock.nowMs();
        if (wholeSeconds(now) - startSecond >= replyWatchSeconds)
            return recover(QStringLiteral("the controller did not answer within 6 seconds"));
        m_port.waitForData(static_cast<int>(std::max<qint64>(1, fireAtMs - now)));
    }
    const QByteArray bytes = m_port.read(count);
    if (out)
        *out = bytes;
    return LinkStatus::Ok;
}

LinkStatus SerialLink::badAnswer(const QString& what)
{
    m_lastError = what;
    inputPurge();
    return LinkStatus::BadAnswer;
}

QString SerialLink::deviceFailureText()
{
    m_deviceFailed = true;
#ifndef Q_OS_WIN
    // A pulled adapter takes its device node with it; the system's reason for
    // the call that noticed (often "Inappropriate ioctl for device") would
    // only hide that. (Windows port names are no paths to look for.)
    if (!QFileInfo::exists(m_device))
        return QStringLiteral("the serial device %1 disappeared").arg(m_device);
#endif
    return QStringLiteral("the serial device %1 failed: %2").arg(m_device, m_port.errorText());
}

LinkStatus SerialLink::recover(const QString& what)
{
    m_lastError = what;
    if (!m_recoveryEnabled)
        return LinkStatus::Failed;

    if (m_recoveryObserver)
        m_recoveryObserver(true);
    const LinkStatus status = askAndReopen();
    if (m_recoveryObserver)
        m_recoveryObserver(false);
    return status;
}

LinkStatus SerialLink::askAndReopen()
{
    const Prompts::Answer answer =
        m_prompts.message(noReplyText, warningCaption, Prompts::Icon::Warning, Prompts::Buttons::YesNo);
    if (answer != Prompts::Answer::Yes) {
        m_port.close();
        m_prompts.endProcess(-1);
        return LinkStatus::Failed;
    }

    m_settings.startupMode = true;
    const bool accepted = m_setupHook ? m_setupHook() : true;
    m_settings.startupMode = false;
    m_port.close();
    if (!accepted) {
        // Cancel in start-up mode ends the program.
        m_prompts.endProcess(-1);
        return LinkStatus::Failed;
    }
    return openOrEnd() ? LinkStatus::Recovered : LinkStatus::Failed;
}
