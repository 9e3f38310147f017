#include "texture/scalar/b_lerper.h"

#include "support/scalar.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BLerper::BLerper() : Basis(2)
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("amount", 0.0, 1.0, 0.5, &BLerper::amount),
    });
    useParameters(table);
}

BLerper::~BLerper() = default;

double BLerper::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double px = xscale * x;
    const double py = yscale * y;
    const double pz = zscale * z;
    const double b = input(1)->value(px, py, pz);
    const double a = input(0)->value(px, py, pz);
    return applyContrast(lerp(a, b, amount));
}

} // namespace tex
