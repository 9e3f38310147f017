#include "texture/scalar/voronoi_draws.h"

#include "support/random.h"

#include <algorithm>
#include <cstring>

namespace tex {

namespace {

typedef std::uint32_t CellRow[VoronoiDraws::maxCells];

constexpr int shift = 397;

// Draws for `cells` cells (a multiple of the cells a Lane holds), all chains
// advanced step by step together, so that they overlap in the pipeline as
// well as in the lanes of a vector. The arithmetic is exact integer
// arithmetic: every lane type gives the same outputs.
template <typename Lane, int cells>
[[gnu::always_inline]] inline void drawCells(const std::uint32_t* hashes, int outputs, CellRow* drawn,
                                             std::uint32_t* first)
{
    constexpr int lanes = cells * sizeof(std::uint32_t) / sizeof(Lane);
    constexpr int cellsPerLane = cells / lanes;
    // Seeded words mt[0 .. outputs] and mt[397 .. 396 + outputs].
    Lane low[VoronoiDraws::maxOutputs + 1][lanes];
    Lane high[VoronoiDraws::maxOutputs][lanes];
    // One variable per lane, never copied as a whole, so that the chains
    // stay in registers.
    Lane word[lanes];
    for (int l = 0; l < lanes; ++l) {
        std::memcpy(&word[l], hashes + l * cellsPerLane, sizeof(Lane));
        low[0][l] = word[l];
    }
    Lane index = Lane{} + 1u;
    int i = 1;
    for (; i <= outputs; ++i, index += 1u) {
#pragma GCC unroll 32
        for (int l = 0; l < lanes; ++l) {
            Random::advanceSeedWord(word[l], index);
            low[i][l] = word[l];
        }
    }
    for (; i < shift; ++i, index += 1u) {
#pragma GCC unroll 32
        for (int l = 0; l < lanes; ++l)
            Random::advanceSeedWord(word[l], index);
    }
    for (; i < shift + outputs; ++i, index += 1u) {
#pragma GCC unroll 32
        for (int l = 0; l < lanes; ++l) {
            Random::advanceSeedWord(word[l], index);
            high[i - shift][l] = word[l];
        }
    }

    for (int k = 0; k < outputs; ++k) {
#pragma GCC unroll 32
        for (int l = 0; l < lanes; ++l) {
            Lane y = (low[k][l] & 0x80000000u) | (low[k + 1][l] & 0x7fffffffu);
            Random::twistInPlace(y, high[k][l]);
            if (k == 0)
                std::memcpy(first + l * cellsPerLane, &y, sizeof y);
            Random::temperInPlace(y);
            std::memcpy(drawn[k] + l * cellsPerLane, &y, sizeof y);
        }
    }
}

// Runs drawCells for the fewest groups of `group` cells that hold `cells`.
template <typename Lane, int group, int groups = VoronoiDraws::maxCells / group>
[[gnu::always_inline]] inline void drawGroups(const std::uint32_t* hashes, int cells, int outputs, CellRow* drawn,
                                              std::uint32_t* first)
{
    if constexpr (groups > 1) {
        if (cells <= (groups - 1) * group) {
            drawGroups<Lane, group, groups - 1>(hashes, cells, outputs, drawn, first);
            return;
        }
    }
    drawCells<Lane, groups * group>(hashes, outputs, drawn, first);
}

// Four chains to a 16-byte vector, which every target the compiler knows
// handles in some way (without SSE4.1, x86 multiplies them by halves).
typedef std::uint32_t FourWords __attribute__((vector_size(16)));
void drawPortable(const std::uint32_t* hashes, int cells, int outputs, CellRow* drawn, std::uint32_t* first)
{
    drawGroups<FourWords, 4>(hashes, cells, outputs, drawn, first);
}

#if defined(__x86_64__) || defined(__i386__)
#define VORONOI_DRAWS_AVX2 1
// Eight chains to a register.
typedef std::uint32_t EightWords __attribute__((vector_size(32)));
__attribute__((target("avx2"))) void drawAvx2(const std::uint32_t* hashes, int cells, int outputs, CellRow* drawn,
                                              std::uint32_t* first)
{
    drawGroups<EightWords, 8>(hashes, cells, outputs, drawn, first);
}
#endif

} // namespace

bool VoronoiDraws::available(Lanes lanes)
{
    switch (lanes) {
    case Lanes::avx2:
#ifdef VORONOI_DRAWS_AVX2
        return __builtin_cpu_supports("avx2");
#else
        return false;
#endif
    case Lanes::best:
    case Lanes::portable:
        break;
    }
    return true;
}

void VoronoiDraws::draw(const std::uint32_t* hashes, int cells, int count, Lanes lanes)
{
    cells = std::clamp(cells, 0, maxCells);
    count = std::clamp(count, 0, maxOutputs);
    if (cells == 0)
        return;
    // Lanes past `cells` draw for hash 0; nobody reads them.
    alignas(32) std::uint32_t padded[maxCells] = {};
    std::copy(hashes, hashes + cells, padded);

    if (lanes == Lanes::best || !available(lanes))
        lanes = available(Lanes::avx2) ? Lanes::avx2 : Lanes::portable;
#ifdef VORONOI_DRAWS_AVX2
    if (lanes == Lanes::avx2) {
        drawAvx2(padded, cells, count, outputs, firstWords);
        return;
    }
#endif
    drawPortable(padded, cells, count, outputs, firstWords);
}

} // namespace tex
