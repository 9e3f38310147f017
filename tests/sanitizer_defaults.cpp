// Defaults of the sanitizer runtimes for the test executables of a
// SUPERFORMULA_SANITIZE build; LSAN_OPTIONS, ASAN_OPTIONS and UBSAN_OPTIONS
// in the environment still add to them. The leak suppressions name only
// leaks of the system's GL and X libraries (see lsan_suppressions.txt).

extern "C" const char* __lsan_default_options()
{
    return "suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0";
}

extern "C" const char* __ubsan_default_options()
{
    return "print_stacktrace=1";
}
