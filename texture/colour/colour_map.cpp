#include "texture/colour/colour_map.h"

#include "texture/scalar/node_type.h"

namespace tex {

ColourMap::ColourMap() : ColourBasis(1) {}

ColourMap::~ColourMap() = default;

Colour ColourMap::formula(double x, double y, double z) const
{
    return colourSpline.evaluate(input(0)->value(x, y, z));
}

bool ColourMap::hasSpline() const
{
    return true;
}

ColourSpline* ColourMap::spline()
{
    return &colourSpline;
}

const NodeType& ColourMap::nodeType()
{
    static const NodeType type =
        NodeType("ColourMap", "a scalar field turned into colours through a colour spline",
                 ColourBasis::parameterList())
            .colour<ColourMap>()
            .input("source", "the field whose value is looked up in the spline")
            .withStops();
    return type;
}

} // namespace tex
