// Defaults of the sanitizer runtimes for the test executables of a
// SUPERFORMULA_SANITIZE build; LSAN_OPTIONS, ASAN_OPTIONS and UBSAN_OPTIONS
// in the environment still add to them. The leak suppressions name only
// leaks of the system's libraries (see lsan_suppressions.txt).

#include <cstdlib>

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
