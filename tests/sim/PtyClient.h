#pragma once

// The host end of a simulated port, opened the way a serial program would: plain
// POSIX open() and a raw termios setup. Reads wait with poll() and a deadline.

#include "SimWire.h"

#include <chrono>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace simtest {

class PtyClient
{
public:
    explicit PtyClient(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        if (m_fd < 0)
            return;
        termios t{};
        ::tcgetattr(m_fd, &t);
        ::cfmakeraw(&t);
        ::cfsetspeed(&t, B9600);
        ::tcsetattr(m_fd, TCSANOW, &t);
    }
    ~PtyClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return m_fd >= 0; }

    bool write(const Bytes& bytes)
    {
        return ::write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // Reads until `count` bytes have arrived or `timeoutMs` has passed.
    Bytes read(std::size_t count, int timeoutMs)
    {
        Bytes got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                break;
            if (!(p.revents & POLLIN))
                break;
            std::uint8_t buffer[256];
            const ssize_t n = ::read(m_fd, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0)
                break;
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

    // True once the other end has gone away (hang-up), within `timeoutMs`.
    bool waitForHangup(int timeoutMs)
    {
        pollfd p{m_fd, POLLIN, 0};
        return ::poll(&p, 1, timeoutMs) > 0 && (p.revents & (POLLHUP | POLLERR));
    }

private:
    int m_fd;
};

} // namespace simtest
