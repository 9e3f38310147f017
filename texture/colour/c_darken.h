#pragma once

#include "texture/colour/colour_basis.h"

namespace tex {

// Darkens a colour function by a scalar field: the colour times
// lerp(1, v, darken), v = input(p), alpha included. A darken of 0 passes the
// colour unchanged, 1 multiplies it by v. A NaN darken passes it unchanged
// too; an infinite darken multiplies it by the largest finite factor of the
// factor's sign (a component of 0 stays 0).
// Parameter: "darken" (real, 0..1, default 0.5). Inputs are borrowed: scalar
// index 0 and colour index 0; until both are set, colour() is transparent
// black.
class CDarken : public ColourBasis {
public:
    CDarken();
    ~CDarken() override;

    const ParameterList& parameters() const override;
    // "darken"; every other name is ignored.
    void setParameter(const std::string& name, double value) override;
    double getParameter(const std::string& name) const override;

    Colour colour(double x, double y, double z) override;
    // Index 0 sets the darkening field; others are ignored.
    void setInput(Basis* field, int index) override;
    // Index 0 sets the colour input; others are ignored.
    void setColourInput(ColourBasis* colour, int index) override;
    int inputCount() const override;
    int colourInputCount() const override;
    bool inputsReady() const override;

    // The single entry "darken".
    static const ParameterList& parameterList();

private:
    ColourBasis* colourInput = nullptr;
    Basis* input = nullptr;
    double darken = 0.5;
};

} // namespace tex
