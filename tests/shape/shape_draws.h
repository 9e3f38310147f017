#pragma once

#include "shape/shape_random.h"

#include <vector>

constexpr double pi = 3.14159265358979323846;

// The next n shape random numbers after seeding with `seed`; the generator
// is reseeded with `seed` afterwards, so the code under test sees them too.
inline std::vector<int> drawsAfterSeed(unsigned seed, int n)
{
    seedShapeRandom(seed);
    std::vector<int> r;
    for (int i = 0; i < n; ++i)
        r.push_back(shapeRandom());
    seedShapeRandom(seed);
    return r;
}

// What randomIn(lo, hi) makes of the draw r.
inline double in(int r, double lo, double hi)
{
    return lo + (r / 32767.0) * (hi - lo);
}
