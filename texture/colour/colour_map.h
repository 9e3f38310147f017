#pragma once

#include "texture/colour/colour_basis.h"

#include <cstddef>

namespace tex {

// A scalar field turned into colours through a colour spline: colour(p) is
// spline.evaluate(input.value(p)). Built with no input and an empty spline;
// wire input 0 (its only input) and fill spline() with setStops before
// evaluating.
class ColourMap : public ColourBasis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    ColourMap();
    ~ColourMap() override;

    bool hasSpline() const override;
    ColourSpline* spline() override;

protected:
    Colour formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const override;

    ColourSpline colourSpline;
};

} // namespace tex
