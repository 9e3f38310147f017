#include "shape/shape_random.h"

#include <cstdlib>

void seedShapeRandom(unsigned int seed)
{
    std::srand(seed);
}

int shapeRandom()
{
    // rand() yields 0..RAND_MAX. Values at or above the largest multiple of
    // 32768 are drawn again, so that every result 0..32767 covers the same
    // number of raw values; with glibc (RAND_MAX = 2^31 - 1) none is rejected.
    constexpr long long range = shapeRandomMax + 1LL;
    constexpr long long limit = (RAND_MAX + 1LL) / range * range;
    constexpr long long perValue = limit / range;
    long long r;
    do {
        r = std::rand();
    } while (r >= limit);
    return static_cast<int>(r / perValue);
}
