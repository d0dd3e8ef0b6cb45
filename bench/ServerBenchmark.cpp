// The local server as clients meet it: qx410ctl serve (a process) on
// qx410-sim's pseudo-terminal (a process), talked to through its socket.
// Prints the round trip of a position request, four clients asking 500
// positions each at once, the serving process's CPU while 32 silent clients
// are connected, and a client's move beyond the waits every move must have
// (the 100 ms settle and the two position reads). Figures are printed,
// never asserted; a pseudo-terminal does not spend the wire time.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// 2 bytes out, 13 back, 10 bits a byte at 9600 baud.
constexpr double kWireMs = 15 * 10 * 1000.0 / 9600;

class Client {
public:
    bool connectTo(const QString& path)
    {
        m_socket.connectToServer(path);
        return m_socket.waitForConnected(5000);
    }
    // The reply to one request; an empty object when none came.
    QJsonObject call(const char* method, const QJsonObject& params = {})
    {
        const int id = ++m_id;
        const QJsonObject request { { QStringLiteral("jsonrpc"), QStringLiteral("2.0") }, { QStringLiteral("id"), id },
            { QStringLiteral("method"), QLatin1String(method) }, { QStringLiteral("params"), params } };
        m_socket.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
        m_socket.flush();
        while (!m_socket.canReadLine()) {
            if (!m_socket.waitForReadyRead(30000))
                return {};
        }
        return QJsonDocument::fromJson(m_socket.readLine()).object();
    }
    int lastId() const { return m_id; }

private:
    QLocalSocket m_socket;
    int m_id = 0;
};

bool isResult(const QJsonObject& reply, int id)
{
    return reply.value(QStringLiteral("id")).toInt() == id && reply.contains(QStringLiteral("result"));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// User and system CPU of a process so far, in milliseconds.
double processCpuMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The fields after the command name in parentheses: utime is the 14th
    // field of the line, stime the 15th.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

QJsonObject at(int x)
{
    return { { QStringLiteral("x"), x }, { QStringLiteral("y"), 0 }, { QStringLiteral("z"), 0 } };
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath();
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    QProcess sim;
    sim.start(bin + QStringLiteral("/qx410-sim"), {});
    if (!sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "qx410-sim did not start\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QProcess serve;
    serve.setProcessEnvironment(env);
    serve.start(bin + QStringLiteral("/qx410ctl"),
        { QStringLiteral("--port"), device, QStringLiteral("--json"), QStringLiteral("serve") });
    if (!serve.waitForReadyRead(10000)) {
        std::fprintf(stderr, "qx410ctl serve did not start: %s\n", serve.readAllStandardError().constData());
        return 1;
    }
    const QString path = QJsonDocument::fromJson(serve.readLine()).object().value(QStringLiteral("socket")).toString();

    // 1. One client, one position request after another.
    Client one;
    if (!one.connectTo(path))
        return 1;
    for (int i = 0; i < 20; ++i)
        one.call("position");
    std::vector<double> trips;
    QElapsedTimer timer;
    for (int i = 0; i < 300; ++i) {
        timer.start();
        const QJsonObject reply = one.call("position");
        trips.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!isResult(reply, one.lastId()))
            std::fprintf(stderr, "position %d: no result\n", i);
    }
    const double positionMs = median(trips);

    // 2. Four clients, 500 position requests each, all at once.
    constexpr int kClients = 4;
    constexpr int kRequests = 500;
    std::atomic<int> good { 0 };
    std::atomic<int> outOfOrder { 0 };
    timer.start();
    std::vector<std::thread> threads;
    for (int c = 0; c < kClients; ++c) {
        threads.emplace_back([&] {
            Client client;
            if (!client.connectTo(path))
                return;
            for (int i = 0; i < kRequests; ++i) {
                const QJsonObject reply = client.call("position");
                if (isResult(reply, client.lastId()))
                    ++good;
                else if (!reply.isEmpty())
                    ++outOfOrder;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    const double fourMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    // 3. 32 clients connected and silent: the serving process's CPU over 2 s
    // (the first client above counts among them).
    std::vector<std::unique_ptr<Client>> silent;
    for (int c = 1; c < 32; ++c) {
        silent.push_back(std::make_unique<Client>());
        silent.back()->connectTo(path);
    }
    QThread::msleep(300);
    const double cpuBefore = processCpuMs(serve.processId());
    QThread::msleep(2000);
    const double idleCpuMs = processCpuMs(serve.processId()) - cpuBefore;
    silent.clear();

    // 4. Moves that do not travel: what remains beyond the settle and the two
    // position reads is the client's and the server's own.
    std::vector<double> moves;
    for (int i = 0; i < 20; ++i) {
        timer.start();
        const QJsonObject reply = one.call("move", at(0));
        moves.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!isResult(reply, one.lastId()))
            std::fprintf(stderr, "move %d: no result\n", i);
    }
    const double moveMs = median(moves);
    const double mandatedMs = 100 + 2 * positionMs;

    std::printf("%-52s %10s\n", "measure", "figure");
    std::printf("%-52s %7.2f ms  (wire time at 9600 baud: %.1f ms)\n", "position round trip, median of 300",
        positionMs, kWireMs);
    std::printf("%-52s %7.0f ms  (%d of %d replies, %d out of order; %.2f ms each)\n",
        "4 clients x 500 position requests at once", fourMs, good.load(), kClients * kRequests, outOfOrder.load(),
        fourMs / (kClients * kRequests));
    std::printf("%-52s %7.0f ms  (over 2000 ms)\n", "serving process CPU, 32 silent clients", idleCpuMs);
    std::printf("%-52s %7.2f ms  (move %.2f ms - 100 ms settle - 2 x %.2f ms reads)\n",
        "move overhead beyond its mandated waits, median of 20", moveMs - mandatedMs, moveMs, positionMs);

    serve.terminate();
    serve.waitForFinished(10000);
    sim.terminate();
    sim.waitForFinished(5000);
    return 0;
}
