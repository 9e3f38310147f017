#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// Thresholds one field: step(step, input(p)) at the scaled point p, so 0 below
// the threshold and 1 from it on (0.01 and 0.99 after the contrast stage).
// Parameters: the Basis ones, then "step" (real, 0..1, default 0.5; values
// outside the range are stored as given and make the result constant).
// One input, borrowed; until it is set, value() is applyContrast(0).
class BStepper : public Basis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    BStepper();
    ~BStepper() override;

protected:
    double formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;

protected:
    // Its parameters, which the tables of derived classes extend.
    static const ParameterTable& parameterTable();

private:
    double step;
};

} // namespace tex
