#include "texture/scalar/b_perturber.h"

#include "texture/scalar/parameter_table.h"

namespace tex {

BPerturber::BPerturber() : Basis(2)
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("xperturb", -10.0, 10.0, 0.1, &BPerturber::xperturb),
        ParameterTable::real("yperturb", -10.0, 10.0, 0.1, &BPerturber::yperturb),
        ParameterTable::real("zperturb", -10.0, 10.0, 0.1, &BPerturber::zperturb),
    });
    useParameters(table);
}

BPerturber::~BPerturber() = default;

double BPerturber::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double sx = xscale * x;
    const double sy = yscale * y;
    const double sz = zscale * z;
    const double e = input(1)->value(sx, sy, sz);
    const double r = input(0)->value(sx + e * xperturb, sy + e * yperturb, sz + e * zperturb);
    return applyContrast(r);
}

} // namespace tex
