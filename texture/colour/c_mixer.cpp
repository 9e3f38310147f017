#include "texture/colour/c_mixer.h"

namespace tex {

CMixer::CMixer() : ColourBasis(1, 2) {}

CMixer::~CMixer() = default;

Colour CMixer::formula(double x, double y, double z) const
{
    const double v = input(0)->value(x, y, z);
    const Colour b = colourInput(1)->colour(x, y, z);
    const Colour a = colourInput(0)->colour(x, y, z);
    return lerp(a, b, v);
}

} // namespace tex
