#include "texture/scalar/b_scaler.h"

#include "texture/scalar/parameter_table.h"

namespace tex {

BScaler::BScaler() : Basis(1)
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("x", -5.0, 5.0, 1.0, &BScaler::xfactor),
        ParameterTable::real("y", -5.0, 5.0, 1.0, &BScaler::yfactor),
        ParameterTable::real("z", -5.0, 5.0, 1.0, &BScaler::zfactor),
    });
    useParameters(table);
}

BScaler::~BScaler() = default;

double BScaler::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double px = xscale * x;
    const double py = yscale * y;
    const double pz = zscale * z;
    return applyContrast(input(0)->value(px * xfactor, py * yfactor, pz * zfactor));
}

} // namespace tex
