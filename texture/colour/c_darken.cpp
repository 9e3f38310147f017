#include "texture/colour/c_darken.h"

#include "support/scalar.h"
#include "texture/scalar/detail/runs.h"
#include "texture/scalar/node_type.h"
#include "texture/scalar/parameter_table.h"

#include <cmath>
#include <limits>

namespace tex {

namespace {

// A NaN factor (a NaN darken) counts as 1: the colour passes as at darken 0.
// An infinite one (an infinite darken) counts as the largest finite factor
// of its sign, so that a component of 0 stays 0 instead of becoming NaN.
double soundFactor(double f)
{
    if (std::isnan(f))
        return 1.0;
    const double most = std::numeric_limits<double>::max();
    return clamp(-most, most, f);
}

} // namespace

CDarken::CDarken() : ColourBasis(1, 1)
{
    useParameters(parameterTable());
}

const ParameterTable& CDarken::parameterTable()
{
    static const ParameterTable table(ColourBasis::parameterTable(), {
        ParameterTable::real("darken", 0.0, 1.0, 0.5, &CDarken::darken,
                             "how strongly the shade darkens: 0 not at all, 1 by its whole value"),
    });
    return table;
}

CDarken::~CDarken() = default;

Colour CDarken::formula(double x, double y, double z) const
{
    const double v = input(0)->value(x, y, z);
    const double f = soundFactor(lerp(1.0, v, darken));
    const Colour c = colourInput(0)->colour(x, y, z);
    return c * f;
}

void CDarken::formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const
{
    if (!isExactly<CDarken>())
        return ColourBasis::formulaRun(x, y, z, out, n);
    double v[detail::runBlock];
    detail::forEachBlock(n, [&](std::size_t start, std::size_t count) {
        input(0)->values(x + start, y + start, z + start, v, count);
        Colour* c = out + start;
        colourInput(0)->colours(x + start, y + start, z + start, c, count);
        for (std::size_t i = 0; i < count; ++i)
            c[i] = c[i] * soundFactor(lerp(1.0, v[i], darken));
    });
}

const NodeType& CDarken::nodeType()
{
    static const NodeType type =
        NodeType("CDarken", "a colour function darkened by a scalar field", parameterTable().list())
            .colour<CDarken>()
            .input("shade", "the field the colour is multiplied by")
            .colourInput("source", "the colour darkened")
            .costs({60});
    return type;
}

} // namespace tex
