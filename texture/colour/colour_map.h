#pragma once

#include "texture/colour/colour_basis.h"

namespace tex {

// A scalar field turned into colours through a colour spline: colour(p) is
// spline.evaluate(input.value(p)). Built with no input and an empty spline;
// wire input 0 and fill spline() with setStops before evaluating.
class ColourMap : public ColourBasis {
public:
    ColourMap() = default;
    ~ColourMap() override;

    Colour colour(double x, double y, double z) override;
    void setInput(Basis* field, int index) override;
    int inputCount() const override;
    int colourInputCount() const override;
    bool inputsReady() const override;
    bool hasSpline() const override;
    ColourSpline* spline() override;

protected:
    Basis* input = nullptr;
    ColourSpline colourSpline;
};

} // namespace tex
