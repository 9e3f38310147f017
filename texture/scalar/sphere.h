#pragma once

#include "texture/scalar/basis.h"

#include <cstddef>

namespace tex {

// One ball of radius 0.5 in every unit cell: 1 at the cell centre, falling
// linearly to 0 at the ball's surface. Cells are found by truncation toward
// zero, so on the negative side of any axis the offset from the centre is at
// least 0.5 and the field is 0 there (0.01 after the contrast stage). From
// 2^52 on every double is an integer, so every offset is -0.5 and the field
// is 0 there too; so it is at a point with a NaN or infinite coordinate
// after the scales.
// Parameters: the Basis ones. No inputs.
class Sphere : public Basis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    Sphere();
    ~Sphere() override;

protected:
    // clamp(0, 1, 1 - 2r), r the distance from the scaled point to the
    // centre of its cell.
    double formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;
};

} // namespace tex
