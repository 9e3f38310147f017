#pragma once

#include <cstdint>

namespace tex {

// What the noise kernels read of a Noise: its permutation table, in bytes
// and widened to 64-bit words for vector gathers, the gradient terms of each
// corner (see noise.cpp) and the lattice mask. Borrowed from the Noise.
struct NoiseTables {
    const std::uint8_t* perm;
    const std::int64_t* wide;
    const std::uint8_t (*terms)[2][512];
    int mask;
};

} // namespace tex
