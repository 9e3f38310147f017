#pragma once

#include <cstdint>

namespace tex {

// The first outputs of the generator seeded with each of up to `maxCells`
// Voronoi cell hashes, computed side by side without running the generator.
//
// After seed(h), output k of the first regeneration is
//   temper(mt[k + 397] ^ (y >> 1) ^ mag(y)),  y = upper(mt[k]) | lower(mt[k + 1]),
// over the seeded words; a cell draws at most 30 outputs, so only the
// seeded words 0 .. count and 397 .. 396 + count are read. Seeding is a
// chain of dependent steps, some 400 of them to reach those words, and the
// chain of one cell cannot be shortened; but the chains of different cells
// are independent, so they run side by side in vector lanes (see
// support/simd/dispatch.h), several vectors at once, and the draws of many
// cells cost little more than those of one.
class VoronoiDraws {
public:
    static constexpr int maxCells = 64;
    // 5 points of 3 nextFloat draws, each of two outputs.
    static constexpr int maxOutputs = 30;

    // Draws `count` outputs (0 .. maxOutputs) for each of hashes[0 ..
    // cells - 1] (cells 1 .. maxCells). The instruction set only changes the
    // speed: the arithmetic is exact integer arithmetic.
    void draw(const std::uint32_t* hashes, int cells, int count);

    // Output k (tempered) of cell `cell`, k < count.
    std::uint32_t output(int k, int cell) const { return outputs[k][cell]; }
    // The first regenerated state word of cell `cell`, before tempering
    // (needs count >= 1).
    std::uint32_t firstWord(int cell) const { return firstWords[cell]; }

private:
    // Output-major, so that one vector of lanes stores an output of several
    // cells.
    alignas(64) std::uint32_t outputs[maxOutputs][maxCells];
    alignas(64) std::uint32_t firstWords[maxCells];
};

} // namespace tex
