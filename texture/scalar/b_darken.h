#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// One field darkened by another: input0(p) * lerp(1, input1(p), amount) at
// the scaled point p. Input 0 is evaluated before input 1.
// Parameters: the Basis ones, then "amount" (real, 0..1, default 0.5; values
// outside the range are stored as given and extrapolate).
// Two inputs, borrowed; until both are set, value() is applyContrast(0).
class BDarken : public Basis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    BDarken();
    ~BDarken() override;

protected:
    double formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;

protected:
    // Its parameters, which the tables of derived classes extend.
    static const ParameterTable& parameterTable();

private:
    double amount;
};

} // namespace tex
