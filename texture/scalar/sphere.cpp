#include "texture/scalar/sphere.h"

#include "support/scalar.h"
#include "texture/scalar/node_type.h"

#include <cmath>

namespace tex {

Sphere::Sphere() = default;

Sphere::~Sphere() = default;

double Sphere::formula(double x, double y, double z) const
{
    if (!(std::isfinite(x) && std::isfinite(y) && std::isfinite(z)))
        return 0.0;
    const double cx = x - std::trunc(x) - 0.5;
    const double cy = y - std::trunc(y) - 0.5;
    const double cz = z - std::trunc(z) - 0.5;
    const double r = std::sqrt(cx * cx + cy * cy + cz * cz);
    return clamp(0.0, 1.0, 1.0 - 2.0 * r);
}

const NodeType& Sphere::nodeType()
{
    static const NodeType type =
        NodeType("Sphere", "a ball in every unit cell: 1 at its centre, falling to 0 at radius 0.5",
                 Basis::parameterList())
            .field<Sphere>()
            .costs({60});
    return type;
}

} // namespace tex
