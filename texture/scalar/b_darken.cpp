#include "texture/scalar/b_darken.h"

#include "support/scalar.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BDarken::BDarken() : Basis(2)
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("amount", 0.0, 1.0, 0.5, &BDarken::amount),
    });
    useParameters(table);
}

BDarken::~BDarken() = default;

double BDarken::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double px = xscale * x;
    const double py = yscale * y;
    const double pz = zscale * z;
    const double a = input(0)->value(px, py, pz);
    const double b = input(1)->value(px, py, pz);
    return applyContrast(a * lerp(1.0, b, amount));
}

} // namespace tex
