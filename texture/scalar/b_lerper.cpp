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

double BLerper::formula(double x, double y, double z) const
{
    const double b = input(1)->value(x, y, z);
    const double a = input(0)->value(x, y, z);
    return lerp(a, b, amount);
}

} // namespace tex
