#include "texture/colour/colour_map.h"

#include "texture/scalar/detail/runs.h"
#include "texture/scalar/node_type.h"

namespace tex {

ColourMap::ColourMap() : ColourBasis(1) {}

ColourMap::~ColourMap() = default;

Colour ColourMap::formula(double x, double y, double z) const
{
    return colourSpline.evaluate(input(0)->value(x, y, z));
}

void ColourMap::formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const
{
    if (!isExactly<ColourMap>())
        return ColourBasis::formulaRun(x, y, z, out, n);
    double values[detail::runBlock];
    detail::forEachBlock(n, [&](std::size_t start, std::size_t count) {
        input(0)->values(x + start, y + start, z + start, values, count);
        colourSpline.evaluateRun(values, out + start, count);
    });
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
            .withStops()
            .costs({60, nullptr, 4});
    return type;
}

} // namespace tex
