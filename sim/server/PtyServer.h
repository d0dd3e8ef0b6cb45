#pragma once

#include "SimController.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace qx410sim {

struct PtyServerOptions
{
    // When not empty, a symbolic link made to point at the device while it is open
    // (an existing symbolic link there is replaced; any other file is left alone and
    // open() fails).
    std::string linkPath;
    // Controller milliseconds per real millisecond: 10 makes every move ten times faster.
    double timeScale = 1.0;
    // When set, every byte in and out is logged there as hex with the seconds since
    // open(), e.g. "   1.234 host> 63 0D" and "   1.240 ctrl< 0D".
    std::FILE* trace = nullptr;
    // When >= 0: the command arriving after this many have been handled is not
    // answered; the device is closed instead (fds closed, link removed) so the client
    // sees its port vanish. serve() keeps running until asked to stop.
    int closeAfterCommands = -1;
};

// Serves a SimController on a pseudo-terminal, as if the controller were wired to a
// serial port. The client opens devicePath() (or the link) like any tty.
//
// The slave side is put into raw mode, and the server keeps a slave descriptor open
// itself so that reading the master never fails when a client closes the port; a
// later client can simply open it again.
//
// Use:
//     SimController controller;
//     PtyServer server(controller);
//     if (!server.open()) ... server.errorString()
//     server.start();          // serve on an internal thread ...
//     ... talk to server.devicePath() ...
//     server.stop();           // ... until stopped (also done by the destructor)
// or call serve() on a thread of one's own and end it with requestStop().
//
// While serving, the server is the only user of the controller; do not touch the
// controller from another thread until serve() has returned. Stopping is final: a
// stopped server does not serve again.
class PtyServer
{
public:
    explicit PtyServer(SimController& controller, PtyServerOptions options = {});
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal (and the link). False on failure, see errorString().
    bool open();
    // Slave device path, e.g. "/dev/pts/5"; empty before open().
    const std::string& devicePath() const { return m_devicePath; }
    const std::string& errorString() const { return m_error; }
    // True from a successful open() until the device is closed (close(), or the close fault).
    bool isOpen() const { return m_open.load(); }

    // Serves until requestStop(): poll() on the master with a timeout until the
    // controller's next timed event, feeding it input and writing its output.
    void serve();
    // Makes serve() return soon. Safe from any thread and from a signal handler.
    void requestStop();

    // serve() on an internal thread / requestStop() and wait for that thread.
    void start();
    void stop();

    // Closes the device and removes the link. Not while serve() runs on another thread.
    void close();

private:
    std::int64_t controllerNowMs() const;
    int pollTimeoutMs() const;
    void readFromHost();
    void feed(const std::uint8_t* data, std::size_t size);
    void collectOutput();
    void writeToHost();
    void traceBytes(const char* direction, const std::uint8_t* data, std::size_t size) const;
    bool fail(const std::string& what);

    SimController& m_controller;
    PtyServerOptions m_options;
    std::string m_devicePath;
    std::string m_error;
    int m_masterFd = -1;
    int m_slaveFd = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    bool m_linkMade = false;
    std::atomic<bool> m_open{false};
    std::atomic<bool> m_stopRequested{false};
    std::chrono::steady_clock::time_point m_openedAt{};
    std::vector<std::uint8_t> m_pending; // controller output not yet written to the master
    std::thread m_thread;
};

} // namespace qx410sim
