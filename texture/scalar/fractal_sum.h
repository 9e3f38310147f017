#pragma once

#include "texture/scalar/basis.h"

#include <cstdint>

namespace tex {

// What FBM and Turbulence share: a sum of some term over `octaves` ever
// finer octaves, each multiplying the point by `lacunarity` and dividing the
// weight by it, so that lacunarity sets both the frequency and the
// amplitude step.
// Parameters: the Basis ones, then "octaves" (integer, 1..16, default 8)
// and "lacunarity" (real, 0.01..4.0, default 2.0; 0 makes the weights
// infinite). Other names go on to Basis by their kind.
class FractalSum : public Basis {
public:
    const ParameterList& parameters() const override;
    // "lacunarity", then the Basis names.
    void setParameter(const std::string& name, double value) override;
    // "octaves"; every other name is ignored.
    void setIntParameter(const std::string& name, int value) override;
    double getParameter(const std::string& name) const override;
    int getIntParameter(const std::string& name) const override;

    // "contrast", "xscale", "yscale", "zscale", "octaves", "lacunarity".
    static const ParameterList& parameterList();

protected:
    explicit FractalSum(int octaves);

    // The sum over octaves of term(p) * weight, p starting at the scaled
    // point and the weight at 1; 0 when octaves is below 1.
    template <typename Term>
    double octaveSum(double x, double y, double z, Term term) const
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

private:
    std::int32_t octaves;
    double lacunarity = 2.0;
};

} // namespace tex
