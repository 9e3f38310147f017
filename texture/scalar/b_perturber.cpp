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

double BPerturber::formula(double x, double y, double z) const
{
    const double e = input(1)->value(x, y, z);
    return input(0)->value(x + e * xperturb, y + e * yperturb, z + e * zperturb);
}

} // namespace tex
