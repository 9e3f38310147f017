#pragma once

#include "texture/colour/colour_basis.h"

namespace tex {

// Blends two colour functions by a scalar field: lerp(colour0, colour1, v)
// with v = input(p), alpha included. Since v lies in [0.01, 0.99], at least
// 1 % of each colour shows. Colour input 1 is evaluated before colour
// input 0. No parameters. Inputs are borrowed: scalar index 0 (the mixing
// field), colour indices 0 and 1; until all three are set, colour() is
// transparent black.
class CMixer : public ColourBasis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    CMixer();
    ~CMixer() override;

protected:
    Colour formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const override;
};

} // namespace tex
