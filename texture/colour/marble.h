#pragma once

#include "texture/colour/colour_map.h"

namespace tex {

// A colour map whose lookup position is x pushed sideways by the input
// field: the stops become bands along x with wavy edges. Wired and filled
// exactly like a ColourMap; without an input, colour() is transparent black.
class Marble : public ColourMap {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    Marble() = default;
    ~Marble() override;

protected:
    // spline.evaluate(d) with d = x + input(x, y, z), wrapped to its
    // fractional part only when above 1 (a d of 1 or less, negatives
    // included, is used as it is).
    Colour formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const override;
};

} // namespace tex
