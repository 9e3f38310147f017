// Compiled with a consumer's flags, says whether this processor can run what
// those flags let the compiler emit: it exits 0 when the processor has every
// vector extension the flags turn on, and otherwise names the ones it lacks
// and exits 1. Nothing here is vector code, so it runs on any x86-64.
#include <cstdio>

namespace {

int missing = 0;

void need(bool has, const char* extension)
{
    if (!has) {
        std::printf("lacks %s\n", extension);
        ++missing;
    }
}

} // namespace

int main()
{
    __builtin_cpu_init();
#ifdef __SSE4_2__
    need(__builtin_cpu_supports("sse4.2"), "sse4.2");
#endif
#ifdef __AVX__
    need(__builtin_cpu_supports("avx"), "avx");
#endif
#ifdef __AVX2__
    need(__builtin_cpu_supports("avx2"), "avx2");
#endif
#ifdef __FMA__
    need(__builtin_cpu_supports("fma"), "fma");
#endif
#ifdef __BMI2__
    need(__builtin_cpu_supports("bmi2"), "bmi2");
#endif
#ifdef __AVX512F__
    need(__builtin_cpu_supports("avx512f"), "avx512f");
#endif
#ifdef __AVX512BW__
    need(__builtin_cpu_supports("avx512bw"), "avx512bw");
#endif
#ifdef __AVX512DQ__
    need(__builtin_cpu_supports("avx512dq"), "avx512dq");
#endif
#ifdef __AVX512VL__
    need(__builtin_cpu_supports("avx512vl"), "avx512vl");
#endif
#ifdef __AVX512CD__
    need(__builtin_cpu_supports("avx512cd"), "avx512cd");
#endif
#ifdef __AVX512VBMI__
    need(__builtin_cpu_supports("avx512vbmi"), "avx512vbmi");
#endif
#ifdef __AVX512VBMI2__
    need(__builtin_cpu_supports("avx512vbmi2"), "avx512vbmi2");
#endif
#ifdef __AVX512VNNI__
    need(__builtin_cpu_supports("avx512vnni"), "avx512vnni");
#endif
#ifdef __AVX512BITALG__
    need(__builtin_cpu_supports("avx512bitalg"), "avx512bitalg");
#endif
#ifdef __AVX512VPOPCNTDQ__
    need(__builtin_cpu_supports("avx512vpopcntdq"), "avx512vpopcntdq");
#endif
#ifdef __AVX512BF16__
    need(__builtin_cpu_supports("avx512bf16"), "avx512bf16");
#endif
#ifdef __AVX512FP16__
    need(__builtin_cpu_supports("avx512fp16"), "avx512fp16");
#endif
#ifdef __AVXVNNI__
    need(__builtin_cpu_supports("avxvnni"), "avxvnni");
#endif
    return missing == 0 ? 0 : 1;
}
