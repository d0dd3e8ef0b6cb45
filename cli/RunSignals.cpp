#include "RunSignals.h"

#include <unistd.h>

namespace {
volatile std::sig_atomic_t g_count = 0;

extern "C" void noteSignal(int)
{
    if (g_count < 1000)
        g_count = g_count + 1;
    if (g_count == 2) {
        static const char note[] =
            "qx410ctl: halting; the controller is stopped and its velocity restored before qx410ctl ends\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, note, sizeof note - 1);
    }
}
} // namespace

RunSignals::RunSignals()
{
    g_count = 0;
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read of the terminal returns at once. No
    // SA_RESETHAND: a second signal must not end the process half way
    // through the halt.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, &m_oldInt);
    sigaction(SIGTERM, &action, &m_oldTerm);
}

RunSignals::~RunSignals()
{
    sigaction(SIGINT, &m_oldInt, nullptr);
    sigaction(SIGTERM, &m_oldTerm, nullptr);
}

bool RunSignals::raised()
{
    return g_count != 0;
}
