#pragma once

#include <atomic>

namespace texbake {

// A request to stop: set from a signal handler (or a test), read by the
// graph reading and by every thread of a bake (as tex::BakeOptions::cancel).
struct Interrupt {
    std::atomic<bool> requested{false};
    // The first signal that asked, for the exit status 128 + signal.
    std::atomic<int> signal{0};
};

// Ctrl-C (SIGINT) and SIGTERM: each sets `interrupt`, which stops a bake
// within a sample a thread and the reading of the graph at once, so that
// texbake removes its unfinished output and exits with 128 + the signal.
// Every later signal is caught the same way, so that however many arrive,
// none ends texbake before it has cleaned up. System calls are not
// restarted after them, so that a read waiting on standard input returns.
// SIGXFSZ is ignored, so that a file size limit fails the write instead.
void catchInterrupts(Interrupt& interrupt);

} // namespace texbake
