#pragma once

#include <cstdint>
#include <vector>

namespace tex::simd {

// The library's vector kernels (evaluation over runs of points) are built for
// several instruction sets and run on the widest one the processor has,
// chosen at their first call. Every level gives the same bits: each lane does
// the scalar operations in the scalar order, without fused multiply-add.

// One instruction set the kernels are built for.
struct Level {
    // "AVX3_DL" (AVX-512 with VBMI, VNNI and the other Ice Lake
    // additions), "AVX3" (AVX-512), "AVX2", "SSE4" or "scalar".
    const char* name;
    // Highway's bit for it.
    std::int64_t target;
    // Doubles in one vector.
    int doubleLanes;
};

// Every level the kernels are built for, widest first. Levels below the
// compiler's baseline (the -march the library is compiled with) are not
// built: their code could not run where the rest of the library runs.
const std::vector<Level>& builtLevels();
// Whether this processor can run `level`.
bool supported(const Level& level);
// The level the kernels run at now.
const Level& currentLevel();

// For tests and benchmarks: while it lives, the kernels run at `level`, which
// must be supported. It changes the choice for the whole process, so no other
// thread may run a kernel meanwhile, and forcings must not overlap.
class ForcedLevel {
public:
    explicit ForcedLevel(const Level& level);
    ~ForcedLevel();
    ForcedLevel(const ForcedLevel&) = delete;
    ForcedLevel& operator=(const ForcedLevel&) = delete;
};

} // namespace tex::simd
