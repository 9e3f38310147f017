#include "texture/colour/marble.h"

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

} // namespace tex
