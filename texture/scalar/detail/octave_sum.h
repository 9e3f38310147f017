#pragma once

// The octave loop of FractalSum. Not installed: only the library's fields,
// compiled without fused multiply-add, instantiate it.

#include "texture/scalar/fractal_sum.h"

namespace tex {

template <typename Term>
double FractalSum::octaveSum(double x, double y, double z, Term term) const
{
    double sum = 0.0;
    double px = xscale * x;
    double py = yscale * y;
    double pz = zscale * z;
    double weight = 1.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum = sum + term(px, py, pz) * weight;
        px = px * lacunarity;
        py = py * lacunarity;
        pz = pz * lacunarity;
        weight = weight / lacunarity;
    }
    return sum;
}

} // namespace tex
