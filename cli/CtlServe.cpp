#include "CtlServe.h"

#include "ControlBackend.h"
#include "ControlLayer.h"
#include "ControlServer.h"
#include "CtlLimits.h"
#include "LayerProgramHost.h"
#include "JsonLine.h"
#include "Qx410Version.h"
#include "RunSignals.h"
#include "SerialLink.h"
#include "SocketPath.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

CtlServe::CtlServe(QTextStream& out, QTextStream& err)
    : m_out(out)
    , m_err(err)
{
}

int CtlServe::run(const CtlOptions& o, SerialLink& link, Clock& clock, const TravelLimits& limits)
{
    ControlLayer control(link, clock);
    control.state().velocity = static_cast<quint16>(o.velocitySetting);
    control.state().resolution = o.high ? ControlState::highResolution : ControlState::lowResolution;
    control.setMoveTimeoutMs(o.moveTimeoutMs);
    // The travel limits kept beside the settings, in force for every client;
    // a client's change is saved there.
    control.setTravelLimits(limits);
    control.setLimitsFolder(CtlLimits::folder(o));
    LayerProgramHost programs(control);
    ControlBackend backend(control, programs, clock);
    ControlServer server(backend, QStringLiteral("qx410ctl"), QStringLiteral(QX410_VERSION));
    const QString path = SocketPath::forDevice(link.device());
    QString why;
    if (!server.listen(path, &why)) {
        m_err << "qx410ctl: serve: " << why << "\n";
        return CannotServe;
    }
    RunSignals interrupts; // until the server ends
    // The last position is known from the start.
    Position start;
    if (backend.position(&start))
        m_err << "qx410ctl: serve: no answer from the controller on " << link.device() << ": " << link.lastError()
              << "\n";
    m_out << (o.json ? JsonLine::of({ { QStringLiteral("socket"), path } }) : path) << "\n";
    m_out.flush();
    m_err.flush();

    QEventLoop loop;
    bool stopping = false;
    auto onSignal = [&] {
        if (!RunSignals::raised() || stopping)
            return;
        stopping = true;
        if (backend.holding())
            backend.stop(); // the move or run ends first; then the loop
        loop.quit();
    };
    // Signals are looked at every few tens of milliseconds; the same timer
    // wakes a move's wait so that its time limit is kept.
    QTimer poll;
    poll.setInterval(RunSignals::pollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, onSignal);
    poll.start();
    // A move's or run's wait serves the other clients, so that a stop or halt
    // reaches the wire at once.
    link.setMessagePump([] {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return true;
    });
    loop.exec();
    link.setMessagePump(nullptr);
    server.close();
    return Done;
}
