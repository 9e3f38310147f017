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

double BScaler::formula(double x, double y, double z) const
{
    return input(0)->value(x * xfactor, y * yfactor, z * zfactor);
}

} // namespace tex
