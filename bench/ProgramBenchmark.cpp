// Measures the controller-program exchanges against the simulated controller
// on a pseudo-terminal, with the real clock and the real serial port code:
//  - a download of 50 steps, which takes at least (50 + 2) x 100 ms by its
//    pauses; the figure printed is what it takes beyond that;
//  - the CPU time of the waiting thread while a 5-second stored program runs
//    and Execute awaits its end as the dialog does (pumping the event loop,
//    woken by serial data), and the same as qx410ctl waits (on the port).

#include "BenchSupport.h"
#include "Controller.h"
#include "ExecuteSession.h"
#include "ProgramExchange.h"
#include "ProgramHost.h"
#include "QtSerialPortDevice.h"
#include "SerialLink.h"
#include "SystemClock.h"
#include "VelocityWord.h"

#include <PtyServer.h>
#include <SimController.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using SteadyClock = std::chrono::steady_clock;

class BenchHost : public ProgramHost
{
public:
    explicit BenchHost(Controller& c) : m_controller(c) {}
    quint16 startVelocityWord() const override { return 1000; }
    TravelLimits travelLimits() const override { return {}; }
    int selectedProgram() const override { return m_program; }
    void setSelectedProgram(int program) override { m_program = program; }
    LinkStatus getPosition() override
    {
        Position p;
        return m_controller.queryPosition(&p);
    }
    void markerRefresh() override {}
    LinkStatus restoreVelocity() override { return m_controller.setVelocity(1000); }

private:
    Controller& m_controller;
    int m_program = -1;
};

double secondsSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    qx410sim::SimController sim;
    qx410sim::PtyServer server(sim);
    if (!server.open()) {
        std::fprintf(stderr, "simulator: %s\n", server.errorString().c_str());
        return 1;
    }
    server.start();

    SystemClock clock;
    bench::QuietPrompts prompts;
    SerialSettings settings;
    settings.portName = QString::fromStdString(server.devicePath());
    QtSerialPortDevice port;
    SerialLink link(port, clock, prompts, settings);
    if (link.open() != SerialLink::OpenResult::Opened) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(settings.portName));
        return 1;
    }
    ProgramExchange exchange(link, clock);
    Controller controller(link);
    std::printf("Controller programs on the simulated controller (%s)\n", server.devicePath().c_str());

    // Download of 50 steps.
    constexpr int steps = 50;
    std::vector<StepValues> program(steps, StepValues{1000, 2500, -2500, 0});
    auto start = SteadyClock::now();
    LinkStatus status = exchange.store(1, program);
    const double wall = secondsSince(start);
    const double pauses = (steps + 2) * 0.1;
    // On a 9600-baud line a 14-byte step spends about 15 ms on the wire, which
    // the write hands to the driver and which passes within the step's
    // 100 ms pause; a pseudo-terminal has no wire time.
    std::printf("download of %d steps:        status %s  wall %.3f s  pauses %.3f s  excess %.1f ms "
                "(%.1f ms a step)\n",
                steps, status == LinkStatus::Ok ? "ok" : "FAILED", wall, pauses, (wall - pauses) * 1000,
                (wall - pauses) * 1000 / (steps + 2));

    // A 5-second run: one step of 5000 um at 1000 um/s, out (program 2) and
    // back (program 3), so that each run has the whole way to go.
    exchange.store(2, {StepValues{1000, 125000, 0, 0}});
    exchange.store(3, {StepValues{1000, 0, 0, 0}});
    for (bool pumpEvents : {true, false}) {
        link.setMessagePump(nullptr);
        if (pumpEvents)
            link.setMessagePump([] {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                return true;
            });
        BenchHost host(controller);
        host.setSelectedProgram(pumpEvents ? 2 : 3);
        ExecuteSession session(exchange, prompts, host);
        const double cpuBefore = bench::threadCpuSeconds();
        start = SteadyClock::now();
        status = session.execute(true);
        const double runWall = secondsSince(start);
        const double cpu = bench::threadCpuSeconds() - cpuBefore;
        std::printf("%-28s status %s  wall %.3f s  cpu %.4f s (%.3f%% of wall)\n",
                    pumpEvents ? "5 s run, dialog (pump):" : "5 s run, qx410ctl (port):",
                    status == LinkStatus::Ok ? "ok" : "FAILED", runWall, cpu, 100.0 * cpu / runWall);
    }
    link.close();
    server.stop();
    return status == LinkStatus::Ok ? 0 : 1;
}
