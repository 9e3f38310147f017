#include "tools/texbake/interrupt.h"

#include <csignal>

namespace texbake {

namespace {

volatile std::sig_atomic_t caught = 0;

void onSignal(int signal)
{
    caught = signal;
}

} // namespace

void catchInterrupts()
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // The second signal finds the default action back in place.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int interruption()
{
    return caught;
}

} // namespace texbake
