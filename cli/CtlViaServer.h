#pragma once

#include "CtlOptions.h"
#include "Position.h"

#include <QJsonObject>
#include <QTextStream>
#include <functional>
#include <optional>

class QLocalSocket;

// A qx410ctl command carried out through the local server that holds the
// port (the desktop program, or qx410ctl serve), with the output and exit
// statuses it has on the port itself.
class CtlViaServer {
public:
    enum ExitStatus {
        Done = 0,
        Refused = 1,
        FileFailure = 2,
        NotServed = 2,
        NoAnswer = 3,
        Halted = 4,
        Interrupted = 130
    };

    // The commands that go through a server.
    static bool handles(const QString& command);
    // The socket of a server that answers for the device; empty when none does.
    static QString liveSocket(const QString& device);

    CtlViaServer(QTextStream& out, QTextStream& err);

    // steps: move's X Y Z in microsteps (its target, or with --relative its
    // offset); velocity: velocity's V.
    int run(const CtlOptions& options, const QString& socketPath, const qint64 steps[3], int velocity);

private:
    // The result, or nothing with the message said and *status set. While
    // the reply is awaited, watch (when given) is called every few tens of
    // milliseconds: a run's Ctrl+C and Enter are looked at there.
    std::optional<QJsonObject> call(const char* method, const QJsonObject& params, int* status,
        const std::function<void()>& watch = {});
    // A request that wants no reply (halt, continue during a run).
    void notify(const char* method);
    // run and execute: the run awaited, Ctrl+C sent on as halt (exit 130);
    // for execute, Enter sent on as continue.
    int runAwaited(const CtlOptions& options, const QString& socketPath);
    // hundredths: the position to the hundredth of a micrometre (high resolution).
    QString positionLine(const QJsonObject& result, bool hundredths, bool json) const;
    // Whether the server's resolution is high; false when it does not say.
    bool serverAtHighResolution();
    // limits: shown, or one axis changed, by the server that holds them.
    int limits(const CtlOptions& options);

    QTextStream& m_out;
    QTextStream& m_err;
    QLocalSocket* m_socket = nullptr;
    QString m_command;
    int m_nextId = 1;
};
