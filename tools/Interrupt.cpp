#include "Interrupt.h"

namespace visdk {

namespace {

const int kSignals[] = {SIGINT, SIGTERM};
volatile sig_atomic_t s_signal = 0;

void Record(int signal) { s_signal = signal; }

} // namespace

InterruptGuard::InterruptGuard()
{
    s_signal = 0;
    struct sigaction action = {};
    action.sa_handler = Record;
    sigemptyset(&action.sa_mask);
    // SA_RESTART keeps the runtime's own blocking calls from failing with EINTR; SA_RESETHAND makes the second signal fatal.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (size_t i = 0; i < 2; ++i)
        sigaction(kSignals[i], &action, &m_previous[i]);
}

InterruptGuard::~InterruptGuard()
{
    for (size_t i = 0; i < 2; ++i)
        sigaction(kSignals[i], &m_previous[i], nullptr);
}

int InterruptGuard::Signal() { return s_signal; }

const char* InterruptGuard::Name(int signal) { return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal"; }

} // namespace visdk
