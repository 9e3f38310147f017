#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// Domain distortion: samples input 0 at the scaled point p displaced by
// e * (xperturb, yperturb, zperturb), where e = input 1 at p. Input 1 is
// evaluated before input 0.
// Parameters: the Basis ones, then "xperturb", "yperturb", "zperturb" (real,
// -10..10, default 0.1; values outside the range are stored as given).
// Two inputs, borrowed: index 0 is the perturbed field, index 1 the
// perturbing one. Until both are set, value() is applyContrast(0).
class BPerturber : public Basis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    BPerturber();
    ~BPerturber() override;

protected:
    double formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;

protected:
    // Its parameters, which the tables of derived classes extend.
    static const ParameterTable& parameterTable();

private:
    double xperturb;
    double yperturb;
    double zperturb;
};

} // namespace tex
