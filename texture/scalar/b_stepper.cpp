#include "texture/scalar/b_stepper.h"

#include "support/scalar.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BStepper::BStepper() : Basis(1)
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("step", 0.0, 1.0, 0.5, &BStepper::step),
    });
    useParameters(table);
}

BStepper::~BStepper() = default;

double BStepper::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double v = input(0)->value(xscale * x, yscale * y, zscale * z);
    return applyContrast(tex::step(step, v));
}

} // namespace tex
