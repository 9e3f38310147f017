#pragma once

#include "texture/scalar/basis.h"

#include <cstdint>

namespace tex {

// What FBM and Turbulence share: a sum of some term over `octaves` ever
// finer octaves, each multiplying the point by `lacunarity` and dividing the
// weight by it, so that lacunarity sets both the frequency and the
// amplitude step.
// Parameters: the Basis ones, then "octaves" (integer, 1..16, default 8;
// below 1 nothing is summed) and "lacunarity" (real, 0.01..4.0, default 2.0;
// 0 makes the weights infinite). Values outside the ranges are stored as
// given. Other names go on to Basis by their kind.
class FractalSum : public Basis {
protected:
    // `inputCount` inputs; "octaves" and "lacunarity" at their defaults.
    explicit FractalSum(int inputCount);
    // The same with `octaves` octaves instead of the default.
    FractalSum(int inputCount, int octaves);

    // The sum over octaves of term(p) * weight, p starting at the scaled
    // point and the weight at 1; 0 when octaves is below 1. Defined in
    // detail/octave_sum.h, which only the library's own fields include.
    template <typename Term>
    double octaveSum(double x, double y, double z, Term term) const;

private:
    std::int32_t octaves;
    double lacunarity;
};

} // namespace tex
