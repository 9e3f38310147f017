#include "tools/texbake/interrupt.h"

#include <csignal>

namespace texbake {

namespace {

// What the handler sets; lock-free atomics are safe to set there.
Interrupt* target = nullptr;

void onSignal(int signal)
{
    if (target == nullptr)
        return;
    target->signal.store(signal);
    target->requested.store(true);
}

} // namespace

void catchInterrupts(Interrupt& interrupt)
{
    static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
                  "a signal handler may only set lock-free atomics");
    target = &interrupt;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace texbake
