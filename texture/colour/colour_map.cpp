#include "texture/colour/colour_map.h"

namespace tex {

ColourMap::~ColourMap() = default;

Colour ColourMap::colour(double x, double y, double z)
{
    if (!input)
        return Colour(0, 0, 0, 0);
    return colourSpline.evaluate(input->value(x, y, z));
}

void ColourMap::setInput(Basis* field, int index)
{
    if (index == 0)
        input = field;
}

int ColourMap::inputCount() const
{
    return 1;
}

int ColourMap::colourInputCount() const
{
    return 0;
}

bool ColourMap::inputsReady() const
{
    return input != nullptr;
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
