#pragma once

#include "texture/scalar/basis.h"
#include "texture/scalar/noise.h"

#include <cstdint>

// Turbulence: the absolute raw gradient noise of an owned Noise of size 256,
// summed over `octaves` ever finer octaves with weights 1 / frequency. Unlike
// FBM the sum is not halved. The owned Noise is used only through its raw
// noise(); its own contrast and scales take no part.
// Parameters: the Basis ones, then "octaves" (integer, 1..16, default 8) and
// "lacunarity" (real, 0.01..4.0, default 2.0). No inputs.
class Turbulence : public Basis {
public:
    // `octaves` is the number of octaves summed; the noise is Noise(seed, 256).
    Turbulence(int seed, int octaves);
    // The same with the noise seeded from the clock.
    explicit Turbulence(int octaves);
    ~Turbulence() override;

    const ParameterList& parameters() const override;
    // "lacunarity", then the Basis names.
    void setParameter(const std::string& name, double value) override;
    // "octaves"; every other name is ignored.
    void setIntParameter(const std::string& name, int value) override;
    double getParameter(const std::string& name) const override;
    int getIntParameter(const std::string& name) const override;

    // applyContrast(sum over octaves of |noise(p)| * weight), p starting at
    // the scaled point and weight at 1. No octaves gives applyContrast(0).
    double value(double x, double y, double z) override;

    // "contrast", "xscale", "yscale", "zscale", "octaves", "lacunarity".
    static const ParameterList& parameterList();

private:
    Noise source;
    std::int32_t octaves;
    double lacunarity = 2.0;
};
