#pragma once

#include "texture/scalar/basis.h"

#include <cstddef>

namespace tex {

// A three-dimensional checkerboard of unit cells: the parity of the sum of
// the scaled coordinates truncated toward zero, so 0 or 1 (0.01 or 0.99
// after the contrast stage). Truncation makes the cells on each axis from -1
// to 1 share index 0: the square around the origin is two units wide.
// Every finite point has its cell, however far out; a point with a NaN or
// infinite coordinate after the scales is 0 (0.01 at contrast 1).
// Parameters: the Basis ones. No inputs.
class Checker : public Basis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    Checker();
    ~Checker() override;

protected:
    // The parity of the truncated scaled coordinates, 0 or 1.
    double formula(double x, double y, double z) const override;
    void formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const override;
};

} // namespace tex
