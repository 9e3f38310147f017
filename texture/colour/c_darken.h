#pragma once

#include "texture/colour/colour_basis.h"

namespace tex {

// Darkens a colour function by a scalar field: the colour times
// lerp(1, v, darken), v = input(p), alpha included. A darken of 0 passes the
// colour unchanged, 1 multiplies it by v. A NaN darken passes it unchanged
// too; an infinite darken multiplies it by the largest finite factor of the
// factor's sign (a component of 0 stays 0).
// Parameter: "darken" (real, 0..1, default 0.5; values outside the range are
// stored as given: above 1 the factor turns negative where v is small).
// Inputs are borrowed: scalar index 0 (the darkening field) and colour
// index 0; until both are set, colour() is transparent black.
class CDarken : public ColourBasis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    CDarken();
    ~CDarken() override;

protected:
    Colour formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const override;

protected:
    // Its parameters, which the tables of derived classes extend.
    static const ParameterTable& parameterTable();

private:
    double darken;
};

} // namespace tex
