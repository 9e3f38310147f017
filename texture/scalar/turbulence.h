#pragma once

#include "texture/scalar/fractal_sum.h"
#include "texture/scalar/noise.h"

namespace tex {

// Turbulence: the absolute raw gradient noise of an owned Noise of size 256
// summed over octaves (see FractalSum). Unlike FBM the sum is not halved.
// The owned Noise is used only through its raw noise(); its own contrast
// and scales take no part. No inputs.
class Turbulence : public FractalSum {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    // `octaves` is the number of octaves summed; the noise is Noise(seed, 256).
    Turbulence(int seed, int octaves);
    // The same with the noise seeded from the clock.
    explicit Turbulence(int octaves);
    ~Turbulence() override;

protected:
    // The sum over octaves of |noise(p)| * weight.
    double formula(double x, double y, double z) const override;
    // Each octave's noise over a block of points at a time (see Noise::noiseRun).
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;

private:
    Noise source;
};

} // namespace tex
