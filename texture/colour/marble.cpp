#include "texture/colour/marble.h"

#include "texture/scalar/node_type.h"

#include <cmath>

namespace tex {

Marble::~Marble() = default;

Colour Marble::formula(double x, double y, double z) const
{
    double d = x + input(0)->value(x, y, z);
    if (d > 1)
        d = d - std::floor(d);
    return colourSpline.evaluate(d);
}

const NodeType& Marble::nodeType()
{
    static const NodeType type =
        NodeType("Marble", "colour bands along x whose edges a field pushes sideways", ColourBasis::parameterList())
            .colour<Marble>()
            .input("push", "the field that pushes the spline's lookup along x")
            .withStops();
    return type;
}

} // namespace tex
