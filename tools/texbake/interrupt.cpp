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
    // The first signal is the one that stopped texbake.
    int none = 0;
    target->signal.compare_exchange_strong(none, signal);
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
    // One handler at a time, so that the first signal is the first handled
    // (pending signals' handlers would otherwise nest, the last one first).
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A file size limit (ulimit -f) then fails the write (EFBIG), which
    // texbake cleans up after, instead of killing it with its output half
    // written.
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace texbake
