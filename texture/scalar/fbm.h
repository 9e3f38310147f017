#pragma once

#include "texture/scalar/fractal_sum.h"

namespace tex {

// Fractional Brownian motion: the input field summed over octaves (see
// FractalSum); the sum is halved before the contrast stage, since with
// lacunarity 2 it stays below 2.
// One input (index 0), borrowed. Without it, value() is applyContrast(0).
class FBM : public FractalSum {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    // 8 octaves, lacunarity 2, no input.
    FBM();
    ~FBM() override;

protected:
    // 0.5 * the sum over octaves of input(p) * weight.
    double formula(double x, double y, double z) const override;
    // Each octave's terms of a block of points come from one run of the input.
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;
};

} // namespace tex
