// Measures what running a command file from the host costs beyond what the
// controller and the line impose. A 200-line file of moves and speed lines
// (no pauses) runs against the simulated controller on a pseudo-terminal at a
// high time scale, once through the desktop program's executor (Execute Once
// of Execute Host Programs, the main window's operations, the event pump) and
// once through `qx410ctl run`. For each it prints the wall time, the part of
// it that the run must spend (100 ms after every speed line, after every move
// and after the final velocity command, plus the simulated travel), the time
// spent waiting for the simulator's answers, the host's own overhead per line
// that remains, and the CPU time used during the run. The wire time the same
// bytes would take at 9600 baud (1.04 ms per byte) is printed for reference:
// a pseudo-terminal spends none of it, so none of it hides in the overhead.
//
// The desktop run is made twice, without travel limits and with limits on
// all six sides that every line keeps, so that what checking each move costs
// shows in the overhead; the check alone is also timed a million times.
//
// In the desktop run the time slept and the time blocked waiting for the
// controller are measured around the clock, the port and the event pump; the
// command line is a separate process, so its waiting for the controller is
// taken to be what the desktop run measured on the same simulator.

#include "Clock.h"
#include "Controller.h"
#include "HostExecutionSession.h"
#include "ControlLayer.h"
#include "Prompts.h"
#include "QtSerialPortDevice.h"
#include "SerialLink.h"
#include "SystemClock.h"
#include "TravelLimits.h"

#include <Motion.h>
#include <PtyServer.h>
#include <SimController.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kLines = 200;
constexpr double kTimeScale = 1000.0;
constexpr int kSettleMs = 100;
constexpr double kWireMsPerByte = 1.04;
constexpr int kRestoreVelocity = 1000;

// The file and what a run of it must spend.
struct Workload
{
    QByteArray bytes;
    int moves = 0;
    int speedLines = 0;
    double travelMs = 0; // simulated travel, already divided by the time scale
    int wireBytes = 0;   // both directions
};

// Every fourth line a speed line (High 1000 and Low 800 in turn), the others
// moves of a few hundred micrometres around the origin.
Workload makeWorkload()
{
    Workload w;
    qx410sim::Triple at{0, 0, 0};
    std::uint16_t word = 1000; // the controller's velocity before the run (the restore of an earlier one)
    for (int i = 0; i < kLines; ++i) {
        if (i % 4 == 0) {
            const bool high = (i / 4) % 2 == 0;
            const int v = high ? 1000 : 800;
            w.bytes += (high ? "High, " : "Low, ") + QByteArray::number(v) + "\r\n";
            word = static_cast<std::uint16_t>(high ? v | 0x8000 : v);
            ++w.speedLines;
            w.wireBytes += 4;
        } else {
            // The last move returns to the origin, where the next run starts.
            const bool last = i == kLines - 1;
            const int x = last ? 0 : ((i * 37) % 11 - 5) * 60;
            const int y = last ? 0 : ((i * 53) % 7 - 3) * 80;
            const int z = last ? 0 : (i % 3) * 40;
            w.bytes += "Move, " + QByteArray::number(x) + ", " + QByteArray::number(y) + ", " + QByteArray::number(z)
                + "\r\n";
            const qx410sim::Triple target{x * 25, y * 25, z * 25};
            const qx410sim::Motion motion(at, target, 0, word);
            w.travelMs += static_cast<double>(motion.endMs()) / kTimeScale;
            at = target;
            ++w.moves;
            w.wireBytes += 14 + 1 + 2 * (2 + 13); // move, completion byte, two position queries
        }
    }
    w.wireBytes += 4; // the velocity setting sent again at the end
    return w;
}

// sleptMs: the settles as actually slept; waitedMs: blocked waiting for the
// controller's answers (the travel included).
void report(const char* name, double wallMs, double sleptMs, double waitedMs, double cpuMs)
{
    const double overheadPerLine = (wallMs - sleptMs - waitedMs) / kLines;
    std::printf("%-24s wall %8.1f ms  slept %8.1f ms  awaiting the controller %6.1f ms  host overhead %5.3f ms/line "
                "(target <= 2)  cpu %6.1f ms = %4.2f%% of wall (target < 5%%)\n",
                name, wallMs, sleptMs, waitedMs, overheadPerLine, cpuMs, 100.0 * cpuMs / wallMs);
}

double msSince(SteadyClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

// The system clock, counting the time slept.
class TimedClock : public Clock
{
public:
    qint64 nowMs() const override { return m_clock.nowMs(); }
    void sleepMs(int ms) override
    {
        const auto start = SteadyClock::now();
        m_clock.sleepMs(ms);
        sleptMs += msSince(start);
    }
    double sleptMs = 0;

private:
    SystemClock m_clock;
};

// The serial port, counting the time blocked waiting for data.
class TimedPort : public PortDevice
{
public:
    bool open(const QString& device) override { return m_port.open(device); }
    bool applySettings(const LineSettings& settings) override { return m_port.applySettings(settings); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    bool write(const QByteArray& bytes, int timeoutMs) override { return m_port.write(bytes, timeoutMs); }
    qint64 bytesAvailable() override { return m_port.bytesAvailable(); }
    QByteArray read(qint64 maxBytes) override { return m_port.read(maxBytes); }
    bool waitForData(int timeoutMs) override
    {
        const auto start = SteadyClock::now();
        const bool arrived = m_port.waitForData(timeoutMs);
        waitedMs += msSince(start);
        return arrived;
    }
    void clear(bool transmitToo) override { m_port.clear(transmitToo); }
    bool failed() const override { return m_port.failed(); }
    QString errorText() const override { return m_port.errorText(); }
    double waitedMs = 0;

private:
    QtSerialPortDevice m_port;
};

double cpuMs(const rusage& u)
{
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double threadCpuMs()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return cpuMs(u);
}

// Select File chooses the workload; no other question is expected.
class FilePrompts : public Prompts
{
public:
    explicit FilePrompts(QString file)
        : m_file(std::move(file))
    {
    }
    Answer message(const QString& text, const QString&, Icon, Buttons) override
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
        return Answer::No;
    }
    QString openFileName(const QString&, const QString&) override { return m_file; }
    void endProcess(int status) override { std::exit(status); }

private:
    QString m_file;
};

// Runs the file as Execute Once does; waitedMs: the time it blocked
// waiting for the controller.
bool runDesktop(const QString& file, const QString& device, const char* name, const TravelLimits& limits,
                double* waitedMs)
{
    TimedClock clock;
    FilePrompts prompts(file);
    SerialSettings settings;
    settings.portName = device;
    TimedPort port;
    SerialLink link(port, clock, prompts, settings);
    if (link.open() != SerialLink::OpenResult::Opened) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(device), qPrintable(link.lastError()));
        return false;
    }
    double pumpedMs = 0; // the desktop program's wait for a move's end: the event pump
    link.setMessagePump([&pumpedMs] {
        const auto start = SteadyClock::now();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        pumpedMs += msSince(start);
        return true;
    });
    // The control layer with nothing observing it: no widgets to follow.
    ControlLayer control(link, clock);
    control.setVelocitySetting(kRestoreVelocity);
    control.setTravelLimits(limits);
    HostExecutionSession session(control, prompts);
    session.selectFile();
    if (session.lineCount() != kLines) {
        std::fprintf(stderr, "the file holds %d lines\n", session.lineCount());
        return false;
    }

    clock.sleptMs = 0;
    port.waitedMs = 0;
    const double cpuBefore = threadCpuMs();
    const auto wallBefore = SteadyClock::now();
    session.executeOnce();
    const double wall = msSince(wallBefore);
    *waitedMs = port.waitedMs + pumpedMs;
    report(name, wall, clock.sleptMs, *waitedMs, threadCpuMs() - cpuBefore);
    link.close();
    return true;
}

// waitedMs: the controller's share as the desktop run measured it.
bool runCommandLine(const Workload& w, const QString& file, const QString& device, double waitedMs)
{
    const QByteArray exe = QX410CTL_EXE;
    const QByteArray portArg = device.toLocal8Bit();
    const QByteArray fileArg = file.toLocal8Bit();
    std::vector<char*> argv{const_cast<char*>(exe.data()), const_cast<char*>("--port"),
                            const_cast<char*>(portArg.data()), const_cast<char*>("run"),
                            const_cast<char*>(fileArg.data()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0); // the progress lines
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto wallBefore = SteadyClock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, exe.constData(), &actions, nullptr, argv.data(), environ) != 0) {
        std::perror("qx410ctl");
        return false;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double wall = msSince(wallBefore);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "qx410ctl run ended with status %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        return false;
    }
    // Process start and end included; the settles counted at their nominal length.
    report("qx410ctl run (process):", wall, (w.speedLines + w.moves + 1) * kSettleMs, waitedMs, cpuMs(usage));
    return true;
}

// Limits on every side, wide enough for every line of the workload.
TravelLimits workloadLimits()
{
    TravelLimits limits;
    for (int axis = 0; axis < TravelLimits::axes; ++axis)
        limits.setRange(axis, {-1000 * 25, 1000 * 25});
    return limits;
}

// The check of one target alone, in nanoseconds.
double checkNs(const TravelLimits& limits)
{
    constexpr int kChecks = 1000000;
    int outside = 0;
    const auto start = SteadyClock::now();
    for (int i = 0; i < kChecks; ++i)
        outside += limits.breach(i % 50000 - 25000, -(i % 30000), i % 7) ? 1 : 0;
    const double ns = msSince(start) * 1e6 / kChecks;
    std::printf("travel-limit check of one target: %.1f ns (%d of %d outside)\n", ns, outside, kChecks);
    return ns;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const Workload w = makeWorkload();
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("bench.dat"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(w.bytes) != w.bytes.size())
        return 1;
    out.close();

    qx410sim::SimController controller;
    qx410sim::PtyServerOptions options;
    options.timeScale = kTimeScale;
    qx410sim::PtyServer server(controller, options);
    if (!server.open()) {
        std::fprintf(stderr, "simulator: %s\n", server.errorString().c_str());
        return 1;
    }
    server.start();
    const QString device = QString::fromStdString(server.devicePath());

    std::printf("Host execution of %d lines (%d moves, %d speed lines, no pauses), simulator at x%.0f on %s\n",
                kLines, w.moves, w.speedLines, kTimeScale, qPrintable(device));
    std::printf("mandated: %d settles of %d ms plus %.1f ms of travel; a 9600-baud line would add %.1f ms of wire "
                "time (%d bytes x %.2f ms), not spent on a pseudo-terminal\n",
                w.speedLines + w.moves + 1, kSettleMs, w.travelMs, w.wireBytes * kWireMsPerByte, w.wireBytes,
                kWireMsPerByte);
    double waitedMs = 0;
    double limitedWaitedMs = 0;
    const bool ok = runDesktop(file, device, "desktop (Execute Once):", TravelLimits(), &waitedMs)
        && runDesktop(file, device, "desktop, with limits:", workloadLimits(), &limitedWaitedMs)
        && runCommandLine(w, file, device, waitedMs);
    checkNs(workloadLimits());
    server.stop();
    return ok ? 0 : 1;
}
