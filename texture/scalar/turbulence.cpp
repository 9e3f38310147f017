#include "texture/scalar/turbulence.h"

#include "texture/scalar/detail/octave_sum.h"

#include <cmath>

namespace tex {

Turbulence::Turbulence(int seed, int octaves) : FractalSum(0, octaves), source(seed, 256)
{
}

Turbulence::Turbulence(int octaves) : FractalSum(0, octaves), source(256)
{
}

Turbulence::~Turbulence() = default;

double Turbulence::formula(double x, double y, double z) const
{
    return octaveSum(x, y, z, Noise::bound, 1.0, [this](double px, double py, double pz) {
        return std::fabs(source.noise(px, py, pz));
    });
}

} // namespace tex
