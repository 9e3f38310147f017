#include "texture/scalar/voronoi.h"

#include "texture/scalar/detail/voronoi_search.h"
#include "texture/scalar/node_type.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tex {

using detail::CellCache;
using detail::cellsSearched;
using detail::nothingFound;
using detail::offsetIndex;

namespace {

std::int32_t powerOfTwoAtMost(int size)
{
    std::int32_t power = 1;
    while (power <= size / 2)
        power *= 2;
    return power;
}

} // namespace

// One query: the nearest-points search around q.
class Voronoi::Search {
public:
    Search(const Voronoi& field, double* kept, int k) : field(field), kept(kept), k(k) {}

    std::uint32_t run(double qx, double qy, double qz);

private:
    // Whether neighbour m could hold a point nearer than the current
    // threshold.
    bool mayHold(int m) const { return reach[m] < kept[k - 1]; }
    // Offers the points of the cell visited at this position to the search.
    void visit(int position);
    // Draws for the cell at this position, which is not cached, together
    // with every later cell that the search may still visit: the threshold
    // only falls, so any later cell that passes mayHold then passes it now.
    // Cached ones are drawn for too: an extra lane costs next to nothing,
    // a look into the cache a trip to memory.
    void drawFrom(int position);

    const Voronoi& field;
    double* const kept;
    const int k;
    std::uint32_t id = 0;

    double q[3];
    // Per axis and offset -1, 0, +1: the lower corner of the cell, an
    // integer.
    double axisCorner[3][3];
    // Per cell: its hash, and a threshold at or below which it can offer
    // nothing (see run).
    std::uint32_t hash[cellsSearched];
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
    // The masked cell coordinate times the axis's hash multiplier.
    std::uint32_t axisHash[3][3];
    const double point[3] = {qx, qy, qz};
    const std::uint32_t mask = static_cast<std::uint32_t>(field.mask);
    for (int axis = 0; axis < 3; ++axis) {
        const detail::QueryAxis placed = detail::queryAxis(point[axis], field.size);
        const double p = placed.p;
        const double c = placed.corner;
        q[axis] = p;
        for (int o = 0; o < 3; ++o) {
            axisCorner[axis][o] = c + (o - 1);
            axisHash[axis][o] = detail::axisHash(c, o - 1, mask, axis);
        }
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
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const std::uint32_t hashXY = axisHash[0][i] + axisHash[1][j];
            const double faceXY = std::min(face[0][i], face[1][j]);
            const double boundXY = bound[0][i] + bound[1][j];
            for (int l = 0; l < 3; ++l) {
                hash[9 * i + 3 * j + l] = hashXY + axisHash[2][l];
                reach[9 * i + 3 * j + l] = std::max(std::min(faceXY, face[2][l]), boundXY + bound[2][l]);
            }
        }
    }
    std::fill(drawn, drawn + cellsSearched, -1);

    visit(0);
    for (int position = 1; position < cellsSearched; ++position) {
        if (mayHold(detail::searchOrder[position]))
            visit(position);
    }
    return id;
}

void Voronoi::Search::drawFrom(int position)
{
    std::uint32_t hashes[cellsSearched];
    int cells = 0;
    int outputs = 0;
    for (int later = position; later < cellsSearched; ++later) {
        const int m = detail::searchOrder[later];
        const int count = field.counts[hash[m] >> 24];
        drawn[m] = -1;
        if (count == 0 || (later > position && !mayHold(m)))
            continue;
        drawn[m] = cells;
        hashes[cells++] = hash[m];
        outputs = std::max(outputs, 6 * count);
    }
    draws.draw(hashes, cells, outputs);
}

void Voronoi::Search::visit(int position)
{
    const int m = detail::searchOrder[position];
    const int count = field.counts[hash[m] >> 24];
    if (count == 0)
        return;
    const VoronoiCell* cell = cache.find(hash[m], count);
    if (!cell) {
        if (drawn[m] < 0)
            drawFrom(position);
        cell = &cache.fill(hash[m], count, draws, drawn[m]);
    }

    // The unmasked cell: the wrap affects only which points a cell gets.
    const double x = axisCorner[0][offsetIndex[m][0]];
    const double y = axisCorner[1][offsetIndex[m][1]];
    const double z = axisCorner[2][offsetIndex[m][2]];
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

double Voronoi::formula(double x, double y, double z) const
{
    double kept[1];
    search(x, y, z, kept, 1);
    return std::sqrt(kept[0]);
}

double Voronoi::nthDistance(double x, double y, double z, int n) const
{
    if (n < 1)
        return 0.0;
    if (n > maxKept)
        return std::sqrt(nothingFound);
    double kept[maxKept];
    search(xscale * x, yscale * y, zscale * z, kept, n);
    return std::sqrt(kept[n - 1]);
}

std::uint32_t Voronoi::nearestId(double x, double y, double z) const
{
    double kept[1];
    return search(x, y, z, kept, 1);
}

double Voronoi::distanceGap(double x, double y, double z) const
{
    double kept[2];
    search(x, y, z, kept, 2);
    return std::sqrt(kept[1]) - std::sqrt(kept[0]);
}

const NodeType& Voronoi::nodeType()
{
    static const NodeType type =
        NodeType("Voronoi", "cellular noise: the distance to the nearest of scattered feature points",
                 Basis::parameterList())
            .field([](const ArgumentValues& a) -> std::unique_ptr<Basis> {
                return std::make_unique<Voronoi>(int(a[0]), int(a[1]), a[2]);
            })
            .argument(ArgumentInfo::seed("seed", "scatters the feature points"))
            .argument({"size", "the pattern's period on every axis", ArgumentInfo::Kind::PowerOfTwo, 1, 1 << 30, 256})
            .argument({"density", "the mean number of feature points in a unit cell", ArgumentInfo::Kind::Real, 0.0,
                       5.0, 1.5})
            .costs({16000});
    return type;
}

} // namespace tex
