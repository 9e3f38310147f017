#pragma once

// The octave loop of FractalSum. Not installed: only the library's fields,
// compiled without fused multiply-add, instantiate it.

#include "texture/scalar/fractal_sum.h"

namespace tex {

template <typename Term>
double FractalSum::octaveSum(double x, double y, double z, double termBound, double scale, Term term) const
{
    const int count = octaves < maxOctaves ? octaves : maxOctaves;
    double sum = 0.0;
    double px = x;
    double py = y;
    double pz = z;
    double weight = 1.0;
    for (int octave = 0; octave < count; ++octave) {
        if (octave >= listedOctaves && octave % 8 == 0 && settled(sum, weight, termBound, scale))
            break;
        sum = sum + term(px, py, pz) * weight;
        px = px * lacunarity;
        py = py * lacunarity;
        pz = pz * lacunarity;
        weight = weight / lacunarity;
    }
    return scale * sum;
}

} // namespace tex
