#include "RunSignals.h"

namespace {
volatile std::sig_atomic_t g_raised = 0;

extern "C" void noteSignal(int)
{
    g_raised = 1;
}
} // namespace

RunSignals::RunSignals()
{
    g_raised = 0;
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read of the terminal returns at once. SA_RESETHAND: a
    // second signal of the same kind ends the process the usual way, for an
    // operator who will not wait for the halt to finish.
    action.sa_flags = SA_RESETHAND;
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
    return g_raised != 0;
}
