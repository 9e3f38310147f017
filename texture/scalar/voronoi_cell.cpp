#include "texture/scalar/voronoi_cell.h"

#include "support/random.h"

#include <algorithm>

namespace tex {

void VoronoiCell::generate(std::uint32_t h, int points)
{
    points = std::clamp(points, 0, maxPoints);
    VoronoiDraws draws;
    draws.draw(&h, 1, 6 * points);
    generate(h, points, draws, 0);
}

void VoronoiCell::generate(std::uint32_t h, int points, const VoronoiDraws& draws, int cell)
{
    points = std::clamp(points, 0, maxPoints);
    hash = h;
    count = points;
    firstId = 0;
    laterId = 0;
    if (points == 0)
        return;

    const std::uint32_t r = draws.firstWord(cell);
    firstId = h + r;
    laterId = r + r;
    // nextFloat: the 53-bit double of two outputs, high part first, rounded to float.
    for (int p = 0; p < points; ++p) {
        for (int axis = 0; axis < 3; ++axis) {
            const int k = 2 * (3 * p + axis);
            offset[p][axis] = static_cast<float>(Random::unitDouble(draws.output(k, cell), draws.output(k + 1, cell)));
        }
    }
}

} // namespace tex
