#include "texture/colour/c_mixer.h"

#include "texture/scalar/detail/runs.h"
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

void CMixer::formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const
{
    if (!isExactly<CMixer>())
        return ColourBasis::formulaRun(x, y, z, out, n);
    double v[detail::runBlock];
    detail::ColourBlock block;
    Colour* b = block.colours;
    detail::forEachBlock(n, [&](std::size_t start, std::size_t count) {
        input(0)->values(x + start, y + start, z + start, v, count);
        colourInput(1)->colours(x + start, y + start, z + start, b, count);
        Colour* a = out + start;
        colourInput(0)->colours(x + start, y + start, z + start, a, count);
        for (std::size_t i = 0; i < count; ++i)
            a[i] = lerp(a[i], b[i], v[i]);
    });
}

const NodeType& CMixer::nodeType()
{
    static const NodeType type =
        NodeType("CMixer", "two colour functions blended by a scalar field", ColourBasis::parameterList())
            .colour<CMixer>()
            .input("mix", "how much of b is taken, between 1 % and 99 %")
            .colourInput("a", "the colour weighted 1 - mix")
            .colourInput("b", "the colour weighted mix")
            .costs({60});
    return type;
}

} // namespace tex
