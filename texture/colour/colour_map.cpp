#include "texture/colour/colour_map.h"

namespace tex {

ColourMap::ColourMap() : ColourBasis(1) {}

ColourMap::~ColourMap() = default;

Colour ColourMap::colour(double x, double y, double z)
{
    if (!inputsReady())
        return Colour(0, 0, 0, 0);
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
