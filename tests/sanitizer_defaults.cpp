// Defaults of the sanitizer runtimes for the test executables of a
// SUPERFORMULA_SANITIZE build; LSAN_OPTIONS, ASAN_OPTIONS and UBSAN_OPTIONS
// in the environment still add to them. The leak suppressions name only
// leaks of the system's libraries (see lsan_suppressions.txt).

#include <cstdlib>

// The sanitizer's copy of each thread's dynamic TLS table, kept up to date
// through __tls_get_addr, now and then holds a block with a bogus range
// (a start of 0x1649, 6 GiB long) for a module loaded at run time; the leak
// check at exit then reads it and crashes ("Tracer caught signal 11"), in
// about one GUI test in twenty when tests run side by side. Without tracking, the blocks are still found
// as ordinary heap blocks reachable from the thread's own table, so no leak
// goes unseen and none is reported falsely.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

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
