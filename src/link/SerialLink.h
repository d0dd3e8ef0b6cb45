#pragma once

#include "LinkStatus.h"
#include "PortDevice.h"
#include "Prompts.h"
#include "SerialSettings.h"

#include <QByteArray>
#include <QString>
#include <functional>

class Clock;

// The transfer patterns every controller exchange is built from: open and
// close, write, read, wait for CR, input purge, receive clear, send and
// settle, the long-operation wait and the watched read with its reply watch
// and recovery prompt. One request at a time, on the caller's thread.
//
// Reads that the controller protocol leaves without a limit are bounded
// (replyBoundMs without a new byte), and a failed write or a vanished device is treated like a
// silent controller: the recovery prompt, never a frozen window.
class SerialLink
{
public:
    enum class OpenResult { Opened, CannotOpen, CannotConfigure };

    static const QString cannotOpenText;
    static const QString cannotSetText;
    static const QString noReplyText;
    static const QString warningCaption;

    static constexpr int settleMs = 100;
    static constexpr int replyBoundMs = 10000;
    static constexpr int writeTimeoutMs = 5000;
    // The reply watch fires once the seconds count has advanced this much.
    static constexpr int replyWatchSeconds = 7;

    // Processes pending window messages; blocks until there is something to
    // process. Returns false when the application has been asked to quit.
    using MessagePump = std::function<bool()>;
    // Shows Setup Communications in start-up mode; false means Cancel.
    using SetupHook = std::function<bool()>;

    SerialLink(PortDevice& port, Clock& clock, Prompts& prompts, SerialSettings& settings);

    // Opens the device the port name maps to and applies the framing string.
    // On failure the port is released and the result says which step failed.
    OpenResult open();
    // open(); on failure shows the fixed warning and ends the process with
    // status -1. Returns whether the port is open.
    bool openOrEnd();
    void close();
    bool isOpen() const;
    // The device and the system's reason behind an open that failed, with a
    // hint when permission was denied.
    QString failureDetail(OpenResult result) const;
    // Applies the framing string to the open port.
    bool applyFraming();
    // After Setup Communications (not in start-up mode): reopens the port when
    // the port changed (ending the process if that fails), then applies the
    // framing string, warning and carrying on when that fails.
    void applyNewSettings(bool portChanged);

    // The device tried by the last open and the system's reason for the last
    // failure, for messages.
    QString device() const { return m_device; }
    QString systemError() const { return m_port.errorText(); }
    // What went wrong in the last operation that did not return Ok.
    QString lastError() const { return m_lastError; }
    // True once the device itself failed or went away since it was opened
    // (rather than the controller staying silent); lastError() says which.
    bool deviceFailed() const { return m_deviceFailed; }

    LinkStatus write(const QByteArray& bytes);
    // Reads exactly count bytes into *out. Gives up once boundMs pass
    // without a new byte, however many bytes were asked for.
    LinkStatus read(int count, QByteArray* out, int boundMs = replyBoundMs);
    // Reads and discards bytes up to and including a CR.
    LinkStatus waitForCr(int boundMs = replyBoundMs);
    // True when received bytes wait to be read; never blocks.
    bool inputWaiting();
    void inputPurge();
    void receiveClear();
    // A plain write followed at once by a purge, as in the Halt sequences.
    // Only the receive side is cleared: a write returns once its bytes have
    // left the program, not the line, and clearing the transmit side at once
    // would take them back before the controller has them.
    LinkStatus writeAndPurgeAtOnce(const QByteArray& bytes);
    // Write; 100 ms; input purge. Nothing is read.
    LinkStatus sendAndSettle(const QByteArray& bytes);
    // Writes the command and waits while *flag is set for one completion
    // byte, pumping messages so that other actions (Stop, Halt) may clear the
    // flag. The flag is clear when this returns. timeoutMs < 0: no limit.
    LinkStatus longOperationWait(const QByteArray& command, bool& flag, int timeoutMs = -1);
    // Receive clear, write the query, read count bytes under the reply watch:
    // more than 6 s in whole clock seconds leads to the recovery prompt.
    LinkStatus watchedRead(const QByteArray& query, int count, QByteArray* out);

    // The controller answered with something it never sends: notes what (for
    // lastError()), purges the input and returns BadAnswer.
    LinkStatus badAnswer(const QString& what);

    void setMessagePump(MessagePump pump) { m_pump = std::move(pump); }
    void setSetupHook(SetupHook hook) { m_setupHook = std::move(hook); }
    // The command line turns recovery off: a silent controller then makes the
    // operation return Failed with lastError() set.
    void setRecoveryEnabled(bool enabled) { m_recoveryEnabled = enabled; }
    // Told true when the recovery prompt opens and false once it and the
    // port choice after it have been answered: meanwhile the port is not
    // to be used by anyone else (the desktop program's local server).
    using RecoveryObserver = std::function<void(bool asking)>;
    void setRecoveryObserver(RecoveryObserver observer) { m_recoveryObserver = std::move(observer); }

private:
    LinkStatus recover(const QString& what);
    // The recovery prompt, and Setup Communications after its Yes.
    LinkStatus askAndReopen();
    // Notes the device failure and describes it, naming the device.
    QString deviceFailureText();
    bool pumpOnce(qint64 deadlineMs);
    qint64 remainingMs(qint64 deadlineMs) const;

    PortDevice& m_port;
    Clock& m_clock;
    Prompts& m_prompts;
    SerialSettings& m_settings;
    MessagePump m_pump;
    SetupHook m_setupHook;
    RecoveryObserver m_recoveryObserver;
    bool m_recoveryEnabled = true;
    QString m_device;
    QString m_lastError;
    bool m_deviceFailed = false;
};
