#include "texture/colour/marble.h"

#include "texture/scalar/detail/runs.h"
#include "texture/scalar/node_type.h"

#include <cmath>

namespace tex {

namespace {

// Where the spline is read at x pushed by v: x + v, wrapped to its
// fractional part only when above 1.
double lookupPosition(double x, double v)
{
    const double d = x + v;
    return d > 1 ? d - std::floor(d) : d;
}

} // namespace

Marble::~Marble() = default;

Colour Marble::formula(double x, double y, double z) const
{
    return colourSpline.evaluate(lookupPosition(x, input(0)->value(x, y, z)));
}

void Marble::formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const
{
    if (!isExactly<Marble>())
        return ColourBasis::formulaRun(x, y, z, out, n);
    double positions[detail::runBlock];
    detail::forEachBlock(n, [&](std::size_t start, std::size_t count) {
        input(0)->values(x + start, y + start, z + start, positions, count);
        for (std::size_t i = 0; i < count; ++i)
            positions[i] = lookupPosition(x[start + i], positions[i]);
        colourSpline.evaluateRun(positions, out + start, count);
    });
}

const NodeType& Marble::nodeType()
{
    static const NodeType type =
        NodeType("Marble", "colour bands along x whose edges a field pushes sideways", ColourBasis::parameterList())
            .colour<Marble>()
            .input("push", "the field that pushes the spline's lookup along x")
            .withStops()
            .costs({80, nullptr, 4});
    return type;
}

} // namespace tex
