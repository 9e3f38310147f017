#pragma once

#include "texture/scalar/basis.h"

namespace tex {

// Stretches space before sampling one field: input(p.x * xfactor,
// p.y * yfactor, p.z * zfactor) at the scaled point p.
// Parameters: the Basis ones, then "x", "y", "z" (real, -5..5, default 1.0;
// values outside the range are stored as given), setting xfactor, yfactor,
// zfactor. One input, borrowed; until it is set, value() is applyContrast(0).
class BScaler : public Basis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    BScaler();
    ~BScaler() override;

protected:
    double formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;

protected:
    // Its parameters, which the tables of derived classes extend.
    static const ParameterTable& parameterTable();

private:
    double xfactor;
    double yfactor;
    double zfactor;
};

} // namespace tex
