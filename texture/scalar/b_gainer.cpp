#include "texture/scalar/b_gainer.h"

#include "support/scalar.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BGainer::BGainer() : Basis(1)
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("gain", 0.0, 1.0, 0.5, &BGainer::gain),
    });
    useParameters(table);
}

BGainer::~BGainer() = default;

double BGainer::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double v = input(0)->value(xscale * x, yscale * y, zscale * z);
    return applyContrast(tex::gain(gain, v));
}

} // namespace tex
