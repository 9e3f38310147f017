#include "texture/colour/colour_map.h"

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

} // namespace tex
