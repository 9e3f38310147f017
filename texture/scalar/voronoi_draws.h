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
// are independent, so they run side by side in vector lanes, and the draws
// of all candidate cells of a query cost little more than those of one.
class VoronoiDraws {
public:
    static constexpr int maxCells = 32;
    // 5 points of 3 nextFloat draws, each of two outputs.
    static constexpr int maxOutputs = 30;

    // How the chains run. `best` picks the widest the processor supports.
    enum class Lanes { best, portable, avx2 };
    static bool available(Lanes lanes);

    // Draws `count` outputs (0 .. maxOutputs) for each of hashes[0 ..
    // cells - 1] (cells 1 .. maxCells). `lanes` only changes the speed,
    // never the outputs; one that is not available runs as `best`.
    void draw(const std::uint32_t* hashes, int cells, int count, Lanes lanes = Lanes::best);

    // Output k (tempered) of cell `cell`, k < count.
    std::uint32_t output(int k, int cell) const { return outputs[k][cell]; }
    // The first regenerated state word of cell `cell`, before tempering
    // (needs count >= 1).
    std::uint32_t firstWord(int cell) const { return firstWords[cell]; }

private:
    // Output-major, so that one vector of lanes stores an output of 8 cells.
    alignas(32) std::uint32_t outputs[maxOutputs][maxCells];
    alignas(32) std::uint32_t firstWords[maxCells];
};

} // namespace tex
