// Measures the long-operation wait against a controller on a pseudo-terminal
// that answers a move with its completion byte after 5 seconds: the CPU time
// the waiting thread spends (a spinning wait would use all of the wall time)
// and the latency from the completion byte's arrival to the wait's return.
// Both ways of waiting are measured: the desktop program's (pumping the event
// loop, woken by serial data) and the command line's (waiting on the port),
// the desktop's once more with the Serial Traffic log open (its table model
// observing the port).

#include "BenchSupport.h"
#include "Commands.h"
#include "Controller.h"
#include "QtSerialPortDevice.h"
#include "SerialLink.h"
#include "SystemClock.h"
#include "TracingPortDevice.h"
#include "TrafficLogModel.h"

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using SteadyClock = std::chrono::steady_clock;

// A controller that reads one 14-byte move command, takes moveMs to "move"
// and then sends its completion byte, noting when it did.
struct SlowController
{
    int master = -1;
    int moveMs = 5000;
    std::atomic<long long> sentAtNs{0};

    void serveOneMove()
    {
        int got = 0;
        char buffer[64];
        while (got < 14) {
            pollfd p{master, POLLIN, 0};
            poll(&p, 1, 10000);
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                return;
            got += static_cast<int>(n);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(moveMs));
        const char done = 0;
        sentAtNs = std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now().time_since_epoch()).count();
        if (::write(master, &done, 1) != 1)
            std::perror("write");
    }
};

bool measure(const char* name, bool pumpEvents, const QString& device, int master, TrafficObserver* log = nullptr)
{
    SystemClock clock;
    bench::QuietPrompts prompts;
    SerialSettings settings;
    settings.portName = device;
    QtSerialPortDevice port;
    // As in the desktop program: the link talks through the tracing device.
    TracingPortDevice traced(port, clock);
    if (log)
        traced.addObserver(log);
    SerialLink link(traced, clock, prompts, settings);
    if (link.open() != SerialLink::OpenResult::Opened) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(device), qPrintable(link.lastError()));
        return false;
    }
    if (pumpEvents)
        link.setMessagePump([] {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            return true;
        });

    SlowController controller;
    controller.master = master;
    std::thread server([&] { controller.serveOneMove(); });

    bool busy = true;
    const double cpuBefore = bench::threadCpuSeconds();
    const auto wallBefore = SteadyClock::now();
    const LinkStatus status = link.longOperationWait(Commands::move(Position{125000, 0, 0}), busy);
    const auto returnedAt = SteadyClock::now();
    const double cpu = bench::threadCpuSeconds() - cpuBefore;
    server.join();
    link.close();

    const double wall = std::chrono::duration<double>(returnedAt - wallBefore).count();
    const double latencyMs =
        (std::chrono::duration_cast<std::chrono::nanoseconds>(returnedAt.time_since_epoch()).count() - controller.sentAtNs)
        / 1e6;
    std::printf("%-28s status %s  wall %.3f s  cpu %.4f s (%.3f%% of wall; target < 1%%)  latency %.3f ms (target < 5 ms)\n",
                name, status == LinkStatus::Ok ? "ok" : "FAILED", wall, cpu, 100.0 * cpu / wall, latencyMs);
    return status == LinkStatus::Ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("pseudo-terminal");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(ptsname(master));
    // Keep the slave side open and raw so that the master never sees a hang-up.
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);

    std::printf("Long-operation wait on a 5-second simulated move (%s)\n", qPrintable(device));
    TrafficLogModel trafficLog;
    const bool ok = measure("desktop (event pump):", true, device, master)
        && measure("desktop, traffic log open:", true, device, master, &trafficLog)
        && measure("command line (port wait):", false, device, master);
    std::printf("traffic log lines: %d\n", trafficLog.log().size());
    ::close(slave);
    ::close(master);
    return ok ? 0 : 1;
}
