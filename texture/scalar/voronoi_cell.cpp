#include "texture/scalar/voronoi_cell.h"

namespace {

constexpr int shift = 397;

std::uint32_t temper(std::uint32_t y)
{
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

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
        mt[i] = 1812433253u * (mt[i - 1] ^ (mt[i - 1] >> 30)) + static_cast<std::uint32_t>(i);

    std::uint32_t drawn[6 * maxPoints];
    for (int k = 0; k < outputs; ++k) {
        const std::uint32_t y = (mt[k] & 0x80000000u) | (mt[k + 1] & 0x7FFFFFFFu);
        const std::uint32_t word = mt[k + shift] ^ (y >> 1) ^ ((y & 1u) ? 0x9908B0DFu : 0u);
        if (k == 0) {
            firstId = h + word;
            laterId = word + word;
        }
        drawn[k] = temper(word);
    }

    // nextFloat: the 53-bit double of two outputs, high part first, rounded to float.
    for (int p = 0; p < points; ++p) {
        for (int axis = 0; axis < 3; ++axis) {
            const int k = 2 * (3 * p + axis);
            const std::uint32_t a = drawn[k] >> 5;
            const std::uint32_t b = drawn[k + 1] >> 6;
            offset[p][axis] = static_cast<float>((a * 67108864.0 + b) * (1.0 / 9007199254740992.0));
        }
    }
}
