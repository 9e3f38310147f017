// Defaults of the sanitizer runtimes for the test executables of a
// SUPERFORMULA_SANITIZE build; LSAN_OPTIONS, ASAN_OPTIONS and UBSAN_OPTIONS
// in the environment still add to them. The leak suppressions name only
// leaks of the system's libraries (see lsan_suppressions.txt).

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>

extern "C" const char* __lsan_default_options()
{
    return "suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0";
}

extern "C" const char* __ubsan_default_options()
{
    return "print_stacktrace=1";
}

// Libraries stay loaded until the process ends. Mesa unloads its GL driver
// when the display closes, before the leak check runs at exit; the driver's
// frames would then have no module name, and no suppression could name them.
extern "C" int dlclose(void*)
{
    return 0;
}

// Mesa's software rasteriser draws on the calling thread alone. Its worker
// threads, still running when the leak check stops the world at exit, crash
// the check now and then (two runs in forty of a shape drawing test).
__attribute__((constructor)) static void singleThreadedSoftwareGl()
{
    setenv("LP_NUM_THREADS", "0", 0);
}

// Qt runs its threads detached, so a thread that Qt has already waited for
// may still be ending. A thread half gone when the leak check stops the
// world at exit crashes the check now and then; the process therefore lets
// its other threads end, for up to two seconds, before the check runs. The
// handler is installed after the sanitizer's own and so runs before it.
static std::ptrdiff_t threadCount()
{
    std::error_code error;
    const std::filesystem::directory_iterator tasks("/proc/self/task", error);
    return error ? 1 : std::distance(tasks, std::filesystem::directory_iterator());
}

static void awaitOtherThreadsEnding()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (threadCount() > 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

__attribute__((constructor)) static void letThreadsEndBeforeTheLeakCheck()
{
    std::atexit(awaitOtherThreadsEnding);
}
