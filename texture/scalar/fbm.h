#pragma once

#include "texture/scalar/basis.h"

#include <cstdint>

// Fractional Brownian motion: the input field summed over `octaves` ever
// finer octaves. Each octave multiplies the point by `lacunarity` and divides
// the weight by it; the sum is halved before the contrast stage.
// Parameters: the Basis ones, then "octaves" (integer, 1..16, default 8) and
// "lacunarity" (real, 0.01..4.0, default 2.0).
// One input (index 0), borrowed. Without it, value() is applyContrast(0).
class FBM : public Basis {
public:
    FBM();
    ~FBM() override;

    const ParameterList& parameters() const override;
    // "lacunarity", then the Basis names.
    void setParameter(const std::string& name, double value) override;
    // "octaves"; every other name is ignored.
    void setIntParameter(const std::string& name, int value) override;
    double getParameter(const std::string& name) const override;
    int getIntParameter(const std::string& name) const override;

    // applyContrast(0.5 * sum over octaves of input(p) * weight), p starting
    // at the scaled point and weight at 1. No octaves gives applyContrast(0).
    double value(double x, double y, double z) override;
    // Index 0 sets the input; other indices are ignored.
    void setInput(Basis* input, int index) override;
    int inputCount() const override;
    // True once the input is set.
    bool inputsReady() const override;

    // "contrast", "xscale", "yscale", "zscale", "octaves", "lacunarity".
    static const ParameterList& parameterList();

private:
    Basis* input = nullptr;
    std::int32_t octaves = 8;
    double lacunarity = 2.0;
};
