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

double BDarken::formula(double x, double y, double z) const
{
    const double a = input(0)->value(x, y, z);
    const double b = input(1)->value(x, y, z);
    return a * lerp(1.0, b, amount);
}

} // namespace tex
