#include "texture/colour/c_mixer.h"

namespace tex {

CMixer::~CMixer() = default;

Colour CMixer::colour(double x, double y, double z)
{
    if (!inputsReady())
        return Colour(0, 0, 0, 0);
    const double v = input->value(x, y, z);
    const Colour b = colourInput1->colour(x, y, z);
    const Colour a = colourInput0->colour(x, y, z);
    return lerp(a, b, v);
}

void CMixer::setInput(Basis* field, int index)
{
    if (index == 0)
        input = field;
}

void CMixer::setColourInput(ColourBasis* colour, int index)
{
    if (index == 0)
        colourInput0 = colour;
    else if (index == 1)
        colourInput1 = colour;
}

int CMixer::inputCount() const
{
    return 1;
}

int CMixer::colourInputCount() const
{
    return 2;
}

bool CMixer::inputsReady() const
{
    return input && colourInput0 && colourInput1;
}

} // namespace tex
