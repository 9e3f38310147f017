#include "texture/scalar/voronoi.h"

#include <array>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace tex {

namespace {

constexpr double nothingFound = 999999.0;

std::int32_t powerOfTwoAtMost(int size)
{
    std::int32_t power = 1;
    while (power <= size / 2)
        power *= 2;
    return power;
}

// The cells a query may visit, in visiting order: its own, then the 26
// neighbours with the x offset outermost and the z offset innermost.
constexpr int cellsSearched = 27;
struct CellOffset {
    int axis[3];
};
constexpr std::array<CellOffset, cellsSearched> visitingOrder()
{
    std::array<CellOffset, cellsSearched> order{};
    int n = 1;
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j)
            for (int k = -1; k <= 1; ++k)
                if (i != 0 || j != 0 || k != 0)
                    order[n++] = CellOffset{{i, j, k}};
    return order;
}
constexpr std::array<CellOffset, cellsSearched> order = visitingOrder();
static_assert(cellsSearched <= VoronoiDraws::maxCells, "one query's cells are drawn for in one go");

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

} // namespace

// One query: the nearest-points search around q.
class Voronoi::Search {
public:
    Search(const Voronoi& field, double* kept, int k) : field(field), kept(kept), k(k) {}

    std::uint32_t run(double qx, double qy, double qz);

private:
    // Whether neighbour n could hold a point nearer than the current
    // threshold.
    bool mayHold(int n) const { return reach[n] < kept[k - 1]; }
    std::uint32_t hashOf(int n) const;
    // Offers the points of cell n to the search.
    void visit(int n);
    // Draws for cell n, which is about to be visited and is not cached,
    // together with every later cell that the search may still visit and
    // that is not cached either. The threshold only falls, so any later cell
    // that passes mayHold then passes it now.
    void drawFrom(int n);

    const Voronoi& field;
    double* const kept;
    const int k;
    std::uint32_t id = 0;

    double q[3];
    // Lower corner of the home cell, an integer in the int range...
    double corner[3];
    // ... and the same as unsigned, so that neighbours wrap instead of
    // overflowing.
    std::uint32_t home[3];
    // Per neighbour: a threshold at or below this leaves nothing it could
    // offer (see run).
    double reach[cellsSearched];

    CellCache& cache = CellCache::ofThisThread();
    VoronoiDraws draws;
    // Where each cell's outputs lie in `draws`, -1 where they are not there.
    int drawn[cellsSearched];
};

Voronoi::Voronoi(int seed, int size, double density)
    : density(density), random(seed), size(powerOfTwoAtMost(size)), mask(this->size - 1)
{
    buildCounts();
}

Voronoi::Voronoi(int size, double density) : density(density), size(powerOfTwoAtMost(size)), mask(this->size - 1)
{
    buildCounts();
}

Voronoi::~Voronoi() = default;

void Voronoi::buildCounts()
{
    // Cumulative Poisson probabilities of 0..4 points.
    double limit[5];
    limit[0] = std::exp(-density);
    for (int i = 1; i < 5; ++i)
        limit[i] = limit[i - 1] * (1 + density / i);
    for (int j = 0; j < 256; ++j) {
        const float u = random.nextFloat();
        int k = 0;
        while (k < 5 && !(u < limit[k]))
            ++k;
        counts[j] = static_cast<std::uint8_t>(k);
    }
}

std::uint32_t Voronoi::Search::run(double qx, double qy, double qz)
{
    for (int i = 0; i < k; ++i)
        kept[i] = nothingFound;
    if (!std::isfinite(qx) || !std::isfinite(qy) || !std::isfinite(qz))
        return id;

    // Per axis and offset -1, 0, +1: the squared distance to the face shared
    // with that neighbour (none for offset 0), and a lower bound of the
    // squared offset to any point of it.
    double face[3][3];
    double bound[3][3];
    const double point[3] = {qx, qy, qz};
    for (int axis = 0; axis < 3; ++axis) {
        double p = point[axis];
        double c = std::floor(p);
        if (!(c >= -2147483648.0 && c <= 2147483647.0)) {
            // The same place within the first period. Exact: fmod of an
            // integer is exact, p - c is exact (Sterbenz), and beyond 2^31 the
            // fraction has at most 21 bits, which fit beside r < 2^30.
            double r = std::fmod(c, field.size);
            if (r < 0)
                r += field.size;
            p = r + (p - c);
            c = r;
        }
        q[axis] = p;
        corner[axis] = c;
        home[axis] = static_cast<std::uint32_t>(static_cast<std::int32_t>(c));
        const double f = p - c;
        const double g = (c + 1) - p;
        face[axis][0] = f * f;
        face[axis][1] = std::numeric_limits<double>::infinity();
        face[axis][2] = f * f + 1 - 2 * f;
        bound[axis][0] = f * f;
        bound[axis][1] = 0.0;
        bound[axis][2] = g * g;
    }
    // A neighbour is visited only when one of its faces lies nearer than the
    // current threshold, and so does the sum of its bounds: with monotone
    // rounding every computed point distance is at least that sum, so a cell
    // whose sum reaches the threshold can offer nothing. Both lie below the
    // threshold exactly when the larger does.
    for (int n = 1; n < cellsSearched; ++n) {
        const int* offset = order[n].axis;
        const double nearestFace
            = std::min({face[0][offset[0] + 1], face[1][offset[1] + 1], face[2][offset[2] + 1]});
        const double cellBound = bound[0][offset[0] + 1] + bound[1][offset[1] + 1] + bound[2][offset[2] + 1];
        reach[n] = std::max(nearestFace, cellBound);
    }
    std::fill(drawn, drawn + cellsSearched, -1);

    visit(0);
    for (int n = 1; n < cellsSearched; ++n) {
        if (mayHold(n))
            visit(n);
    }
    return id;
}

std::uint32_t Voronoi::Search::hashOf(int n) const
{
    const int* offset = order[n].axis;
    const std::uint32_t mask = static_cast<std::uint32_t>(field.mask);
    return ((home[0] + static_cast<std::uint32_t>(offset[0])) & mask) * 702395077u
        + ((home[1] + static_cast<std::uint32_t>(offset[1])) & mask) * 915488749u
        + ((home[2] + static_cast<std::uint32_t>(offset[2])) & mask) * 2120969693u;
}

void Voronoi::Search::drawFrom(int n)
{
    int candidate[cellsSearched];
    std::uint32_t hashes[cellsSearched];
    int candidates = 0;
    for (int m = n; m < cellsSearched; ++m) {
        drawn[m] = -1;
        if (m == n || mayHold(m))
            candidate[candidates++] = m;
    }
    // Without branches on the cache: its lines arrive together.
    int cells = 0;
    int outputs = 0;
    for (int c = 0; c < candidates; ++c) {
        const int m = candidate[c];
        const std::uint32_t hash = hashOf(m);
        const int count = field.counts[hash >> 24];
        const bool needed = count > 0 && (m == n || !cache.find(hash, count));
        drawn[m] = needed ? cells : -1;
        hashes[cells] = hash;
        cells += needed;
        outputs = std::max(outputs, needed ? 6 * count : 0);
    }
    draws.draw(hashes, cells, outputs);
}

void Voronoi::Search::visit(int n)
{
    const std::uint32_t hash = hashOf(n);
    const int count = field.counts[hash >> 24];
    if (count == 0)
        return;
    const VoronoiCell* cell = cache.find(hash, count);
    if (!cell) {
        if (drawn[n] < 0)
            drawFrom(n);
        cell = &cache.fill(hash, count, draws, drawn[n]);
    }

    // The unmasked cell: the wrap affects only which points a cell gets.
    const int* offset = order[n].axis;
    const double x = corner[0] + offset[0];
    const double y = corner[1] + offset[1];
    const double z = corner[2] + offset[2];
    for (int p = 0; p < count; ++p) {
        const double dx = (x + double(cell->offset[p][0])) - q[0];
        const double dy = (y + double(cell->offset[p][1])) - q[1];
        const double dz = (z + double(cell->offset[p][2])) - q[2];
        const double d = dx * dx + dy * dy + dz * dz;
        if (!(d < kept[k - 1]))
            continue;
        // Insert after any equal value: the point offered first keeps its place.
        int i = k - 1;
        while (i > 0 && kept[i - 1] > d) {
            kept[i] = kept[i - 1];
            --i;
        }
        kept[i] = d;
        if (i == 0)
            id = p == 0 ? cell->firstId : cell->laterId;
    }
}

std::uint32_t Voronoi::search(double qx, double qy, double qz, double* kept, int k) const
{
    return Search(*this, kept, k).run(qx, qy, qz);
}

double Voronoi::value(double x, double y, double z)
{
    double kept[1];
    search(xscale * x, yscale * y, zscale * z, kept, 1);
    return applyContrast(std::sqrt(kept[0]));
}

double Voronoi::nthDistance(double x, double y, double z, int n)
{
    if (n < 1)
        return 0.0;
    if (n > maxKept)
        return std::sqrt(nothingFound);
    double kept[maxKept];
    search(xscale * x, yscale * y, zscale * z, kept, n);
    return std::sqrt(kept[n - 1]);
}

std::uint32_t Voronoi::nearestId(double x, double y, double z)
{
    double kept[1];
    return search(x, y, z, kept, 1);
}

double Voronoi::distanceGap(double x, double y, double z)
{
    double kept[2];
    search(x, y, z, kept, 2);
    return std::sqrt(kept[1]) - std::sqrt(kept[0]);
}

} // namespace tex
