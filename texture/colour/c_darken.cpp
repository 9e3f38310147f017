#include "texture/colour/c_darken.h"

#include "support/scalar.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

CDarken::CDarken() : ColourBasis(1, 1)
{
    static const ParameterTable table(ColourBasis::parameterTable(), {
        ParameterTable::real("darken", 0.0, 1.0, 0.5, &CDarken::darken),
    });
    useParameters(table);
}

CDarken::~CDarken() = default;

Colour CDarken::colour(double x, double y, double z)
{
    if (!inputsReady())
        return Colour(0, 0, 0, 0);
    const double v = input(0)->value(x, y, z);
    const double f = lerp(1.0, v, darken);
    const Colour c = colourInput(0)->colour(x, y, z);
    return c * f;
}

} // namespace tex
