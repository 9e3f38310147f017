// The seeding chains of Voronoi cells in vector lanes (see VoronoiDraws),
// for the kernels that draw cells. Not installed.

#if defined(TEX_SCALAR_SIMD_VORONOI_DRAWS_INL_H) == defined(HWY_TARGET_TOGGLE)
#ifdef TEX_SCALAR_SIMD_VORONOI_DRAWS_INL_H
#undef TEX_SCALAR_SIMD_VORONOI_DRAWS_INL_H
#else
#define TEX_SCALAR_SIMD_VORONOI_DRAWS_INL_H
#endif

#include "support/simd/lanes-inl.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

HWY_BEFORE_NAMESPACE();
namespace tex::HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// Lanes of 32-bit state words, and how many vectors of them advance
// together: enough independent chains to keep the multiplier busy while
// each step waits for the one before.
using StateWords = hn::ScalableTag<std::uint32_t>;
using StateVec = hn::Vec<StateWords>;
constexpr std::size_t chainVectors = 4;

// Draws `count` outputs for chainVectors vectors of cells, hashes[0 ..
// chainVectors * lanes - 1]: output k of the cell in lane l of the group goes
// to outputs[k * stride + l], its first regenerated word to first[l]. The
// steps are Random's, lane by lane: seedWord, twist and temper.
HWY_INLINE void DrawChains(const std::uint32_t* hashes, int count, std::uint32_t* outputs, std::size_t stride,
                           std::uint32_t* first)
{
    constexpr int shift = 397;
    constexpr int maxOutputs = 30;
    const StateWords d;
    const std::size_t lanes = hn::Lanes(d);
    const StateVec multiplier = hn::Set(d, 1812433253u);
    // Seeded words mt[0 .. count] and mt[397 .. 396 + count], per vector.
    HWY_ALIGN std::uint32_t low[maxOutputs + 1][chainVectors][HWY_LANES(std::uint32_t)];
    HWY_ALIGN std::uint32_t high[maxOutputs][chainVectors][HWY_LANES(std::uint32_t)];
    // One variable per vector, so that the chains stay in registers.
    StateVec w0 = hn::LoadU(d, hashes);
    StateVec w1 = hn::LoadU(d, hashes + lanes);
    StateVec w2 = hn::LoadU(d, hashes + 2 * lanes);
    StateVec w3 = hn::LoadU(d, hashes + 3 * lanes);
    StateVec index = hn::Set(d, 1u);
    const StateVec one = hn::Set(d, 1u);
    const auto advance = [&](StateVec& w) TEX_INLINE_LAMBDA { w = multiplier * hn::Xor(w, hn::ShiftRight<30>(w)) + index; };
    const auto keep = [&](std::uint32_t (*words)[HWY_LANES(std::uint32_t)]) TEX_INLINE_LAMBDA {
        hn::Store(w0, d, words[0]);
        hn::Store(w1, d, words[1]);
        hn::Store(w2, d, words[2]);
        hn::Store(w3, d, words[3]);
    };
    keep(low[0]);
    int i = 1;
    for (; i <= count; ++i, index = index + one) {
        advance(w0), advance(w1), advance(w2), advance(w3);
        keep(low[i]);
    }
    for (; i < shift; ++i, index = index + one)
        advance(w0), advance(w1), advance(w2), advance(w3);
    for (; i < shift + count; ++i, index = index + one) {
        advance(w0), advance(w1), advance(w2), advance(w3);
        keep(high[i - shift]);
    }

    const StateVec upper = hn::Set(d, 0x80000000u);
    const StateVec lower = hn::Set(d, 0x7fffffffu);
    const StateVec magic = hn::Set(d, 0x9908b0dfu);
    for (int k = 0; k < count; ++k) {
        for (std::size_t v = 0; v < chainVectors; ++v) {
            StateVec y = hn::Or(hn::And(hn::Load(d, low[k][v]), upper), hn::And(hn::Load(d, low[k + 1][v]), lower));
            // Twist: mag(y) is 0x9908b0df where y is odd, 0 where it is even.
            y = hn::Xor(hn::Xor(hn::Load(d, high[k][v]), hn::ShiftRight<1>(y)),
                        hn::And(hn::Zero(d) - hn::And(y, one), magic));
            if (k == 0)
                hn::StoreU(y, d, first + v * lanes);
            // Temper.
            y = hn::Xor(y, hn::ShiftRight<11>(y));
            y = hn::Xor(y, hn::And(hn::ShiftLeft<7>(y), hn::Set(d, 0x9d2c5680u)));
            y = hn::Xor(y, hn::And(hn::ShiftLeft<15>(y), hn::Set(d, 0xefc60000u)));
            y = hn::Xor(y, hn::ShiftRight<18>(y));
            hn::StoreU(y, d, outputs + k * stride + v * lanes);
        }
    }
}

// How many cells one DrawChains call draws for.
HWY_INLINE std::size_t CellsPerChainGroup()
{
    return chainVectors * hn::Lanes(StateWords());
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif
