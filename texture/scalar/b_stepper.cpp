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

double BStepper::formula(double x, double y, double z) const
{
    return tex::step(step, input(0)->value(x, y, z));
}

} // namespace tex
