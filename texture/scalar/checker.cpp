#include "texture/scalar/checker.h"

#include "texture/scalar/node_type.h"

#include <cmath>
#include <cstdint>

namespace tex {

namespace {

// The parity of trunc(v), 0 or 1, for a finite v. An int takes the
// truncation where it holds it; beyond, the remainder of v by 2 in double
// (exact) has magnitude 1 or more exactly when trunc(v) is odd, and every
// double of 2^53 or more is even.
std::uint32_t truncParity(double v)
{
    if (std::fabs(v) < 2147483648.0)
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) & 1u;
    return std::fabs(std::fmod(v, 2.0)) >= 1.0 ? 1u : 0u;
}

} // namespace

Checker::Checker() = default;

Checker::~Checker() = default;

double Checker::formula(double x, double y, double z) const
{
    if (!(std::isfinite(x) && std::isfinite(y) && std::isfinite(z)))
        return 0.0;
    // Only the parity matters; unsigned sums keep it without overflow.
    const std::uint32_t tx = truncParity(x);
    const std::uint32_t ty = truncParity(y);
    const std::uint32_t tz = truncParity(z);
    return (((tx + ty) & 1u) + tz) & 1u;
}

const NodeType& Checker::nodeType()
{
    static const NodeType type =
        NodeType("Checker", "a three-dimensional checkerboard of unit cubes", Basis::parameterList()).field<Checker>()
            .costs({60});
    return type;
}

} // namespace tex
