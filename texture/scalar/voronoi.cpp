#include "texture/scalar/voronoi.h"

#include <cmath>

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

} // namespace

Voronoi::Voronoi(int seed, int size, double density)
    : density(density), random(seed), size(powerOfTwoAtMost(size)), mask(this->size - 1),
      cache(new VoronoiCell[1 << cacheBits])
{
    buildCounts();
}

Voronoi::Voronoi(int size, double density)
    : density(density), size(powerOfTwoAtMost(size)), mask(this->size - 1), cache(new VoronoiCell[1 << cacheBits])
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

const VoronoiCell& Voronoi::cellFor(std::uint32_t hash, int count)
{
    VoronoiCell& cell = cache[(hash * 2654435761u) >> (32 - cacheBits)];
    if (cell.count != count || cell.hash != hash)
        cell.generate(hash, count);
    return cell;
}

void Voronoi::visit(int x, int y, int z, double qx, double qy, double qz, double* kept, int k, std::uint32_t& id)
{
    const std::uint32_t hash = static_cast<std::uint32_t>(x & mask) * 702395077u
        + static_cast<std::uint32_t>(y & mask) * 915488749u + static_cast<std::uint32_t>(z & mask) * 2120969693u;
    const int count = counts[hash >> 24];
    if (count == 0)
        return;
    const VoronoiCell& cell = cellFor(hash, count);
    for (int p = 0; p < count; ++p) {
        const double dx = (double(x) + double(cell.offset[p][0])) - qx;
        const double dy = (double(y) + double(cell.offset[p][1])) - qy;
        const double dz = (double(z) + double(cell.offset[p][2])) - qz;
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
            id = p == 0 ? cell.firstId : cell.laterId;
    }
}

std::uint32_t Voronoi::search(double qx, double qy, double qz, double* kept, int k)
{
    const int x = static_cast<int>(std::floor(qx));
    const int y = static_cast<int>(std::floor(qy));
    const int z = static_cast<int>(std::floor(qz));
    const double fx = qx - x;
    const double fy = qy - y;
    const double fz = qz - z;
    for (int i = 0; i < k; ++i)
        kept[i] = nothingFound;
    std::uint32_t id = 0;

    visit(x, y, z, qx, qy, qz, kept, k, id);

    // Squared distances to the faces shared with the neighbours below and
    // above: a neighbour is visited only when one of its faces lies nearer
    // than the current threshold.
    const double below[3] = {fx * fx, fy * fy, fz * fz};
    const double above[3] = {fx * fx + 1 - 2 * fx, fy * fy + 1 - 2 * fy, fz * fz + 1 - 2 * fz};
    // Lower bounds of the squared offsets to any point of a neighbour, per
    // axis and offset -1, 0, +1. With monotone rounding every computed point
    // distance is at least the sum of its cell's bounds, so a cell whose sum
    // reaches the threshold can offer nothing and is skipped unchanged.
    const double gx = (x + 1) - qx;
    const double gy = (y + 1) - qy;
    const double gz = (z + 1) - qz;
    const double bound[3][3] = {{fx * fx, 0.0, gx * gx}, {fy * fy, 0.0, gy * gy}, {fz * fz, 0.0, gz * gz}};
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            for (int l = -1; l <= 1; ++l) {
                if (i == 0 && j == 0 && l == 0)
                    continue;
                const double threshold = kept[k - 1];
                const bool nearEnough = (i < 0 && below[0] < threshold) || (i > 0 && above[0] < threshold)
                    || (j < 0 && below[1] < threshold) || (j > 0 && above[1] < threshold)
                    || (l < 0 && below[2] < threshold) || (l > 0 && above[2] < threshold);
                const double cellBound = bound[0][i + 1] + bound[1][j + 1] + bound[2][l + 1];
                if (nearEnough && cellBound < threshold)
                    visit(x + i, y + j, z + l, qx, qy, qz, kept, k, id);
            }
        }
    }
    return id;
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
