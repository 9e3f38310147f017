#include "texture/scalar/sphere.h"

#include "support/scalar.h"
#include "texture/scalar/node_type.h"

#include <cmath>

namespace tex {

Sphere::Sphere() = default;

Sphere::~Sphere() = default;

double Sphere::value(double x, double y, double z)
{
    const double sx = xscale * x;
    const double sy = yscale * y;
    const double sz = zscale * z;
    if (!(std::isfinite(sx) && std::isfinite(sy) && std::isfinite(sz)))
        return applyContrast(0.0);
    const double cx = sx - std::trunc(sx) - 0.5;
    const double cy = sy - std::trunc(sy) - 0.5;
    const double cz = sz - std::trunc(sz) - 0.5;
    const double r = std::sqrt(cx * cx + cy * cy + cz * cz);
    return applyContrast(clamp(0.0, 1.0, 1.0 - 2.0 * r));
}

const NodeType& Sphere::nodeType()
{
    static const NodeType type =
        NodeType("Sphere", "a ball in every unit cell: 1 at its centre, falling to 0 at radius 0.5",
                 Basis::parameterList())
            .field<Sphere>();
    return type;
}

} // namespace tex
