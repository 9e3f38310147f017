#include "texture/colour/c_mixer.h"

#include "texture/scalar/node_type.h"

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

const NodeType& CMixer::nodeType()
{
    static const NodeType type =
        NodeType("CMixer", "two colour functions blended by a scalar field", ColourBasis::parameterList())
            .colour<CMixer>()
            .input("mix", "how much of b is taken, between 1 % and 99 %")
            .colourInput("a", "the colour weighted 1 - mix")
            .colourInput("b", "the colour weighted mix");
    return type;
}

} // namespace tex
