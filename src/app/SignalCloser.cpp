#include "SignalCloser.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

int SignalCloser::s_fds[2] = {-1, -1};

SignalCloser::SignalCloser(QObject* parent, std::function<void()> close)
    : QObject(parent)
    , m_close(std::move(close))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_fds) != 0)
        return;
    m_notifier = new QSocketNotifier(s_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalCloser::onReadable);

    struct sigaction action = {};
    action.sa_handler = &SignalCloser::onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

SignalCloser::~SignalCloser()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    for (int& fd : s_fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SignalCloser::onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(s_fds[0], &byte, 1);
}

void SignalCloser::onReadable()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t got = ::read(s_fds[1], &byte, 1);
    m_close();
}
