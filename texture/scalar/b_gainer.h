#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// Reshapes one field with the gain curve: gain(gain, input(p)) at the scaled
// point p. A gain of 0.5 passes the input through unchanged.
// Parameters: the Basis ones, then "gain" (real, 0..1, default 0.5; values
// outside the range are stored as given).
// One input, borrowed; until it is set, value() is applyContrast(0).
class BGainer : public Basis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    BGainer();
    ~BGainer() override;

protected:
    double formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;

protected:
    // Its parameters, which the tables of derived classes extend.
    static const ParameterTable& parameterTable();

private:
    double gain;
};

} // namespace tex
