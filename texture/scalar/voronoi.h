#pragma once

#include "support/random.h"
#include "texture/scalar/basis.h"
#include "texture/scalar/voronoi_cell.h"

#include <cstddef>
#include <cstdint>

namespace tex {

// Cellular noise. Every unit cell holds 0 to 5 feature points: their number
// comes from a count table indexed by the top byte of the cell hash, their
// places from the generator reseeded with that hash. Cell coordinates are
// masked with size - 1 before hashing, so the pattern repeats with period
// `size` on every axis. Queries search the point's own cell and those of its
// 26 neighbours that could hold something nearer.
//
// The points of a cell depend on its hash alone, so they are computed
// directly (see VoronoiCell), for all cells a query may still need side by
// side (see VoronoiDraws), and kept in a cache of recent cells that each
// thread has for itself (4096 cells, some 300 KB, from its first query to
// its end) and shares among all its Voronoi objects: results are exactly
// those of reseeding the generator for every visited cell, and never depend
// on earlier queries.
//
// Threads: once constructed and with its parameters set, one object may be
// queried (value, nthDistance, nearestId, distanceGap) from any number of
// threads at once, with the same results as from one. Setting parameters
// while another thread queries is not supported.
//
// Far and unsound points: where a point's cell coordinate lies beyond the
// int range, the search runs at the same place of the first period
// [0, size) on that axis, found exactly (a double that far has a fraction
// of at most 21 bits), so the pattern keeps its period at every finite
// coordinate; inside the int range nothing changes. A point with a NaN or
// infinite coordinate (after the scale factors, for value and nthDistance)
// finds no feature point: value gives applyContrast(sqrt(999999)) (0.99 at
// contrast 1), nthDistance sqrt(999999), nearestId 0 and distanceGap 0, as
// where no point lies in the 27 cells.
//
// Parameters: the Basis ones. No inputs.
class Voronoi : public Basis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    // The largest number of points 27 cells can hold: nthDistance beyond it
    // can find nothing.
    static constexpr int maxKept = 27 * VoronoiCell::maxPoints;

    // `density` is the mean number of points per cell. `size` is the lattice
    // period, meant to be a positive power of two; any other size is taken
    // as the largest power of two below it, and sizes below 1 as 1.
    Voronoi(int seed, int size, double density);
    // The same with the generator seeded from the clock.
    Voronoi(int size, double density);
    ~Voronoi() override;

    // Distance from the scaled point to its n-th nearest feature point
    // (n = 1 the nearest), without contrast; sqrt(999999) when fewer than n
    // points were found. Outside the contract, n < 1 gives 0.0 and
    // n > maxKept gives sqrt(999999) without searching.
    virtual double nthDistance(double x, double y, double z, int n) const;
    // Identifier of the feature point nearest to the unscaled point; 0 when
    // none was found.
    virtual std::uint32_t nearestId(double x, double y, double z) const;
    // F2 - F1 at the unscaled point, the second-nearest distance minus the
    // nearest; 0 when no point was found.
    virtual double distanceGap(double x, double y, double z) const;

    // nearestId() and distanceGap() at each of n points (what Flagstone
    // reads of its cells), to the last bit: the points are searched a chunk
    // at a time, consecutive points in one cell together and in vector
    // lanes, and the cells they need seeded side by side (see
    // support/simd/dispatch.h); a thread that runs them, or values(), keeps
    // some 140 KB of scratch from its first run to its end. Any n; the
    // outputs may be coordinate arrays. A class derived from Voronoi gets
    // nearestId() and distanceGap() at each point.
    void nearestIdAndGapRun(const double* x, const double* y, const double* z, std::uint32_t* ids, double* gaps,
                            std::size_t n) const;

    int latticeSize() const { return size; }
    // Number of points of a cell whose hash has this top byte (0..255).
    int countForTopByte(int topByte) const { return counts[topByte & 0xFF]; }

protected:
    // F1, the distance from the scaled point to its nearest feature point
    // (999.9995.. when none lies in the 27 cells).
    double formula(double x, double y, double z) const override;
    // The searches of a run's points together, as nearestIdAndGapRun's.
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;

private:
    class Search;

    void buildCounts();
    // Fills kept[0..k-1] (1 <= k <= maxKept) with the k smallest squared
    // distances from q, ascending, 999999 where fewer points were found, and
    // returns the identifier of the point holding kept[0] (0 if none).
    std::uint32_t search(double qx, double qy, double qz, double* kept, int k) const;

    // All fixed at construction: queries only read them.
    double density;
    // Draws the count table; the cells' points come from VoronoiDraws.
    Random random;
    std::int32_t size;
    std::int32_t mask;
    std::uint8_t counts[256];
};

} // namespace tex
