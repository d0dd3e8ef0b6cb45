#include "EnterPresses.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

int EnterPresses::terminalInput()
{
    return isatty(STDIN_FILENO) ? STDIN_FILENO : -1;
}

EnterPresses::EnterPresses(int fd)
    : m_fd(fd)
{
}

int EnterPresses::take()
{
    int presses = 0;
    while (m_fd >= 0) {
        pollfd ready = {m_fd, POLLIN, 0};
        if (::poll(&ready, 1, 0) <= 0 || (ready.revents & (POLLIN | POLLHUP | POLLERR)) == 0)
            break;
        char bytes[256];
        const ssize_t got = ::read(m_fd, bytes, sizeof bytes);
        if (got < 0 && errno == EINTR)
            break; // a signal; the next turn looks again
        if (got <= 0) {
            m_fd = -1; // end of input: nobody can press Enter any more
            break;
        }
        for (ssize_t i = 0; i < got; ++i) {
            if (bytes[i] == '\n')
                ++presses;
        }
    }
    return presses;
}
