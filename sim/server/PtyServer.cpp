#include "PtyServer.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace qx410sim {

namespace {

void setCloseOnExec(int fd)
{
    const int flags = ::fcntl(fd, F_GETFD);
    if (flags >= 0)
        ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
}

void setNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

PtyServer::PtyServer(SimController& controller, PtyServerOptions options)
    : m_controller(controller)
    , m_options(std::move(options))
{
    if (!(m_options.timeScale > 0.0) || !std::isfinite(m_options.timeScale))
        m_options.timeScale = 1.0;
    int fds[2];
    if (::pipe(fds) == 0) {
        m_wakeRead = fds[0];
        m_wakeWrite = fds[1];
        for (int fd : fds) {
            setCloseOnExec(fd);
            setNonBlocking(fd);
        }
    }
}

PtyServer::~PtyServer()
{
    stop();
    close();
    closeFd(m_wakeRead);
    closeFd(m_wakeWrite);
}

bool PtyServer::fail(const std::string& what)
{
    m_error = what + ": " + std::strerror(errno);
    close();
    return false;
}

bool PtyServer::open()
{
    if (m_open.load())
        return true;
    if (m_wakeRead < 0)
        return fail("cannot create wake-up pipe");

    m_masterFd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_masterFd < 0)
        return fail("posix_openpt");
    setCloseOnExec(m_masterFd);
    if (::grantpt(m_masterFd) != 0)
        return fail("grantpt");
    if (::unlockpt(m_masterFd) != 0)
        return fail("unlockpt");
    char name[256];
    if (::ptsname_r(m_masterFd, name, sizeof name) != 0)
        return fail("ptsname");
    m_devicePath = name;

    // Holding the slave open keeps master reads from failing with EIO whenever no
    // client has the port open.
    m_slaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveFd < 0)
        return fail("cannot open " + m_devicePath);
    termios attributes{};
    if (::tcgetattr(m_slaveFd, &attributes) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&attributes);
    if (::tcsetattr(m_slaveFd, TCSANOW, &attributes) != 0)
        return fail("tcsetattr");
    setNonBlocking(m_masterFd);

    if (!m_options.linkPath.empty()) {
        struct stat existing{};
        if (::lstat(m_options.linkPath.c_str(), &existing) == 0) {
            if (!S_ISLNK(existing.st_mode)) {
                errno = EEXIST;
                return fail("will not replace " + m_options.linkPath);
            }
            if (::unlink(m_options.linkPath.c_str()) != 0)
                return fail("cannot remove old link " + m_options.linkPath);
        }
        if (::symlink(m_devicePath.c_str(), m_options.linkPath.c_str()) != 0)
            return fail("cannot create link " + m_options.linkPath);
        m_linkMade = true;
    }

    m_openedAt = std::chrono::steady_clock::now();
    m_error.clear();
    m_open.store(true);
    return true;
}

void PtyServer::close()
{
    // Link first, so that a client noticing the hang-up finds the name gone as well.
    m_open.store(false);
    if (m_linkMade) {
        ::unlink(m_options.linkPath.c_str());
        m_linkMade = false;
    }
    closeFd(m_masterFd);
    closeFd(m_slaveFd);
    m_pending.clear();
}

void PtyServer::requestStop()
{
    m_stopRequested.store(true);
    if (m_wakeWrite >= 0) {
        const char wake = 1;
        const ssize_t written = ::write(m_wakeWrite, &wake, 1);
        (void)written; // a full pipe already holds a wake-up
    }
}

void PtyServer::start()
{
    if (!m_thread.joinable())
        m_thread = std::thread([this] { serve(); });
}

void PtyServer::stop()
{
    requestStop();
    if (m_thread.joinable())
        m_thread.join();
}

std::int64_t PtyServer::controllerNowMs() const
{
    const auto elapsed = std::chrono::steady_clock::now() - m_openedAt;
    const double realMs = std::chrono::duration<double, std::milli>(elapsed).count();
    return static_cast<std::int64_t>(realMs * m_options.timeScale);
}

int PtyServer::pollTimeoutMs() const
{
    if (m_masterFd < 0)
        return -1;
    const std::optional<std::int64_t> next = m_controller.nextEventMs();
    if (!next)
        return -1;
    const std::int64_t ahead = *next - controllerNowMs();
    if (ahead <= 0)
        return 0;
    // Round up (and wait at least 1 ms) so we never wake just before the event and spin.
    const double realMs = std::ceil(static_cast<double>(ahead) / m_options.timeScale);
    return static_cast<int>(std::clamp(realMs, 1.0, static_cast<double>(INT_MAX)));
}

void PtyServer::serve()
{
    while (!m_stopRequested.load()) {
        if (m_masterFd >= 0) {
            collectOutput();
            writeToHost();
        }

        pollfd fds[2]{};
        nfds_t count = 0;
        if (m_wakeRead >= 0)
            fds[count++] = {m_wakeRead, POLLIN, 0};
        const bool watchMaster = m_masterFd >= 0;
        if (watchMaster)
            fds[count++] = {m_masterFd, static_cast<short>(POLLIN | (m_pending.empty() ? 0 : POLLOUT)), 0};
        if (count == 0)
            return; // nothing can ever wake us
        const int ready = ::poll(fds, count, pollTimeoutMs());
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (m_wakeRead >= 0 && (fds[0].revents & POLLIN)) {
            char drain[64];
            while (::read(m_wakeRead, drain, sizeof drain) > 0) {
            }
        }
        if (watchMaster && m_masterFd >= 0) {
            const short events = fds[count - 1].revents;
            if (events & (POLLIN | POLLHUP | POLLERR))
                readFromHost();
            if (m_masterFd >= 0 && (events & POLLOUT))
                writeToHost();
        }
    }
}

void PtyServer::readFromHost()
{
    std::uint8_t buffer[4096];
    while (m_masterFd >= 0) {
        const ssize_t got = ::read(m_masterFd, buffer, sizeof buffer);
        if (got > 0) {
            traceBytes("host>", buffer, static_cast<std::size_t>(got));
            feed(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // End of file or a hard error: the device is unusable, stop watching it
        // rather than spin on it.
        close();
        return;
    }
}

void PtyServer::feed(const std::uint8_t* data, std::size_t size)
{
    const int closeAfter = m_options.closeAfterCommands;
    if (closeAfter < 0) {
        m_controller.receive(data, size, controllerNowMs());
        return;
    }
    // Byte by byte, so the device goes away exactly when the fatal command arrives.
    for (std::size_t i = 0; i < size; ++i) {
        const std::int64_t now = controllerNowMs();
        m_controller.receive(data + i, 1, now);
        if (m_controller.commandsHandled() > static_cast<std::size_t>(closeAfter)) {
            m_controller.takeOutput(now); // that command goes unanswered
            writeToHost();
            close();
            return;
        }
        collectOutput();
    }
}

void PtyServer::collectOutput()
{
    const std::vector<std::uint8_t> output = m_controller.takeOutput(controllerNowMs());
    if (output.empty())
        return;
    traceBytes("ctrl<", output.data(), output.size());
    m_pending.insert(m_pending.end(), output.begin(), output.end());
}

void PtyServer::writeToHost()
{
    std::size_t written = 0;
    while (m_masterFd >= 0 && written < m_pending.size()) {
        const ssize_t n = ::write(m_masterFd, m_pending.data() + written, m_pending.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: wait for POLLOUT; other errors surface on the next read
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(written));
}

void PtyServer::traceBytes(const char* direction, const std::uint8_t* data, std::size_t size) const
{
    if (!m_options.trace)
        return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_openedAt).count();
    std::string line;
    line.reserve(size * 3 + 24);
    char head[32];
    std::snprintf(head, sizeof head, "%8.3f %s", seconds, direction);
    line += head;
    static const char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < size; ++i) {
        line += ' ';
        line += kHex[data[i] >> 4];
        line += kHex[data[i] & 0x0F];
    }
    line += '\n';
    std::fputs(line.c_str(), m_options.trace);
    std::fflush(m_options.trace);
}

} // namespace qx410sim
