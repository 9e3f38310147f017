#include "texture/scalar/voronoi_cell.h"

#include "support/random.h"

namespace tex {

namespace {

constexpr int shift = 397;

} // namespace

void VoronoiCell::generate(std::uint32_t h, int points)
{
    if (points < 0)
        points = 0;
    if (points > maxPoints)
        points = maxPoints;
    hash = h;
    count = points;
    firstId = 0;
    laterId = 0;
    if (points == 0)
        return;

    const int outputs = 6 * points;
    // Seeded words 0 .. shift + outputs - 1; the recurrence is sequential, so
    // the words in between are computed but never read.
    std::uint32_t mt[shift + 6 * maxPoints];
    mt[0] = h;
    for (int i = 1; i < shift + outputs; ++i)
        mt[i] = Random::seedWord(mt[i - 1], i);

    std::uint32_t drawn[6 * maxPoints];
    for (int k = 0; k < outputs; ++k) {
        const std::uint32_t y = (mt[k] & 0x80000000u) | (mt[k + 1] & 0x7FFFFFFFu);
        const std::uint32_t word = Random::twist(mt[k + shift], y);
        if (k == 0) {
            firstId = h + word;
            laterId = word + word;
        }
        drawn[k] = Random::temper(word);
    }

    // nextFloat: the 53-bit double of two outputs, high part first, rounded to float.
    for (int p = 0; p < points; ++p) {
        for (int axis = 0; axis < 3; ++axis) {
            const int k = 2 * (3 * p + axis);
            offset[p][axis] = static_cast<float>(Random::unitDouble(drawn[k], drawn[k + 1]));
        }
    }
}

} // namespace tex
