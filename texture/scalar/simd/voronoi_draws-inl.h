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
// together at the most: enough independent chains to keep the multiplier
// busy while each step waits for the one before.
using StateWords = hn::ScalableTag<std::uint32_t>;
using StateVec = hn::Vec<StateWords>;
constexpr int chainVectors = 4;

// Draws `count` outputs for kVectors vectors of cells, hashes[0 .. kVectors *
// lanes - 1]: output k of the cell in lane l of the group goes to
// outputs[k * stride + l], its first regenerated word to first[l]. The steps
// are Random's, lane by lane: seedWord, twist and temper.
template <int kVectors>
HWY_INLINE void DrawChains(const std::uint32_t* hashes, int count, std::uint32_t* outputs, std::size_t stride,
                           std::uint32_t* first)
{
    constexpr int shift = 397;
    constexpr int maxOutputs = 30;
    const StateWords d;
    const std::size_t lanes = hn::Lanes(d);
    const StateVec multiplier = hn::Set(d, 1812433253u);
    const StateVec one = hn::Set(d, 1u);
    // Seeded words mt[0 .. count] and mt[397 .. 396 + count], per vector.
    HWY_ALIGN std::uint32_t low[maxOutputs + 1][kVectors][HWY_LANES(std::uint32_t)];
    HWY_ALIGN std::uint32_t high[maxOutputs][kVectors][HWY_LANES(std::uint32_t)];
    // The chains, one vector each, kept in registers by the unrolled loops.
    StateVec word[kVectors];
#pragma GCC unroll 4
    for (int v = 0; v < kVectors; ++v)
        word[v] = hn::LoadU(d, hashes + v * lanes);
    StateVec index = one;
    const auto advance = [&]() TEX_INLINE_LAMBDA {
#pragma GCC unroll 4
        for (int v = 0; v < kVectors; ++v)
            word[v] = multiplier * hn::Xor(word[v], hn::ShiftRight<30>(word[v])) + index;
        index = index + one;
    };
    const auto keep = [&](std::uint32_t (*words)[HWY_LANES(std::uint32_t)]) TEX_INLINE_LAMBDA {
#pragma GCC unroll 4
        for (int v = 0; v < kVectors; ++v)
            hn::Store(word[v], d, words[v]);
    };
    keep(low[0]);
    int i = 1;
    for (; i <= count; ++i) {
        advance();
        keep(low[i]);
    }
    for (; i < shift; ++i)
        advance();
    for (; i < shift + count; ++i) {
        advance();
        keep(high[i - shift]);
    }

    const StateVec upper = hn::Set(d, 0x80000000u);
    const StateVec lower = hn::Set(d, 0x7fffffffu);
    const StateVec magic = hn::Set(d, 0x9908b0dfu);
    for (int k = 0; k < count; ++k) {
        for (int v = 0; v < kVectors; ++v) {
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

// Draws `count` outputs for `cells` cells, as many vectors at a time as
// there are cells for, chainVectors at the most; hashes[] holds a whole
// vector's worth past the last cell.
HWY_INLINE void DrawCells(const std::uint32_t* hashes, std::size_t cells, int count, std::uint32_t* outputs,
                          std::size_t stride, std::uint32_t* first)
{
    const std::size_t lanes = hn::Lanes(StateWords());
    for (std::size_t c = 0; c < cells;) {
        const std::size_t vectors = std::min<std::size_t>(chainVectors, (cells - c + lanes - 1) / lanes);
        switch (vectors) {
        case 1:
            DrawChains<1>(hashes + c, count, outputs + c, stride, first + c);
            break;
        case 2:
            DrawChains<2>(hashes + c, count, outputs + c, stride, first + c);
            break;
        case 3:
            DrawChains<3>(hashes + c, count, outputs + c, stride, first + c);
            break;
        default:
            DrawChains<chainVectors>(hashes + c, count, outputs + c, stride, first + c);
            break;
        }
        c += vectors * lanes;
    }
}

} // namespace tex::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif
