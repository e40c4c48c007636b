#ifndef VISDK_TOOLS_INTERRUPT_H
#define VISDK_TOOLS_INTERRUPT_H

#include <csignal>

namespace visdk {

// While it lives, SIGINT and SIGTERM only set a flag that the command polls between steps, so that it can undo what
// it started through the bridge on the main thread. A second such signal ends the process at once. Mono's own
// signals (SIGPWR, SIGXCPU and the rest) are left alone.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // The signal that came, or 0.
    static int Signal();
    static const char* Name(int signal);

private:
    struct sigaction m_previous[2];
};

} // namespace visdk

#endif
