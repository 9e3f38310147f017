#pragma once

// What Voronoi's one-point search and its search over runs of points share:
// the order of the 27 cells, the placing of a query on the lattice, and the
// thread's cache of cells. Not installed.

#include "texture/scalar/voronoi_cell.h"
#include "texture/scalar/voronoi_draws.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

namespace tex::detail {

// The squared distance kept where no point was found.
constexpr double nothingFound = 999999.0;

// The 27 cells around a query are numbered m = 9 i + 3 j + k by their
// offsets i - 1, j - 1, k - 1 along x, y and z; the home cell is number 13.
// The search visits the home cell first, then the neighbours in order of
// their numbers (x offset outermost, z innermost).
constexpr int cellsSearched = 27;
constexpr int homeCell = 13;
// Cell number by visiting position.
constexpr std::array<int, cellsSearched> searchOrder = [] {
    std::array<int, cellsSearched> sequence{};
    sequence[0] = homeCell;
    for (int m = 0, position = 1; m < cellsSearched; ++m)
        if (m != homeCell)
            sequence[position++] = m;
    return sequence;
}();
// Per cell number, its offset + 1 along each axis.
constexpr std::array<std::array<int, 3>, cellsSearched> offsetIndex = [] {
    std::array<std::array<int, 3>, cellsSearched> index{};
    for (int m = 0; m < cellsSearched; ++m)
        index[m] = {m / 9, m / 3 % 3, m % 3};
    return index;
}();
static_assert(cellsSearched <= VoronoiDraws::maxCells, "one query's cells are drawn for in one go");

// A cell's hash is the sum over the axes of its masked coordinate times the
// axis's multiplier.
constexpr std::uint32_t hashMultiplier[3] = {702395077u, 915488749u, 2120969693u};

// Where a query coordinate p lies on the lattice of period `size`: the
// coordinate searched at and its cell's lower corner (an integer), which
// are p and floor(p) inside the int range.
struct QueryAxis {
    double p;
    double corner;
};

// Beyond the int range, the search runs at the same place of the first
// period [0, size), found exactly: fmod of an integer is exact, p - c is
// exact (Sterbenz), and beyond 2^31 the fraction has at most 21 bits,
// which fit beside r < 2^30. For a finite p.
inline QueryAxis queryAxis(double p, std::int32_t size)
{
    const double c = std::floor(p);
    if (c >= -2147483648.0 && c <= 2147483647.0)
        return {p, c};
    double r = std::fmod(c, size);
    if (r < 0)
        r += size;
    return {r + (p - c), r};
}

// The masked corner coordinate plus `offset` (-1, 0 or +1), times the axis's
// multiplier. Unsigned, so that the neighbours of the int range's ends wrap
// instead of overflowing.
inline std::uint32_t axisHash(double corner, int offset, std::uint32_t mask, int axis)
{
    const std::uint32_t cell = static_cast<std::uint32_t>(static_cast<std::int32_t>(corner));
    return ((cell + offset) & mask) * hashMultiplier[axis];
}

// Recent cells of the calling thread, for every Voronoi object: a cell's
// points depend only on its hash and how many it has, so a record is valid
// whichever object asks, and nothing is ever invalidated.
class CellCache {
public:
    // The cell of this hash with at least `count` points (its first `count`
    // points are those of a cell with `count` points), or null.
    const VoronoiCell* find(std::uint32_t hash, int count)
    {
        const VoronoiCell& cell = slot(hash);
        return cell.hash == hash && cell.count >= count ? &cell : nullptr;
    }
    const VoronoiCell& fill(std::uint32_t hash, int count, const VoronoiDraws& draws, int drawn)
    {
        VoronoiCell& cell = slot(hash);
        cell.generate(hash, count, draws, drawn);
        return cell;
    }
    void store(const VoronoiCell& cell) { slot(cell.hash) = cell; }
    // Starts bringing the record of this hash into the processor's cache, for
    // a find soon after.
    void prefetch(std::uint32_t hash) { __builtin_prefetch(&slot(hash)); }

    // Allocated at a thread's first query, released when the thread ends.
    static CellCache& ofThisThread()
    {
        thread_local const std::unique_ptr<CellCache> cache = std::make_unique<CellCache>();
        return *cache;
    }

private:
    // 4096 cells: one texel row of a bake over a whole 256-cell period, with
    // its neighbour rows, stays cached until the next row reuses it.
    static constexpr int bits = 12;
    VoronoiCell& slot(std::uint32_t hash) { return cells[(hash * 2654435761u) >> (32 - bits)]; }

    VoronoiCell cells[1 << bits];
};

} // namespace tex::detail
