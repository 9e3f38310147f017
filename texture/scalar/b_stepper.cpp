#include "texture/scalar/b_stepper.h"

#include "support/scalar.h"
#include "texture/scalar/node_type.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BStepper::BStepper() : Basis(1)
{
    useParameters(parameterTable());
}

const ParameterTable& BStepper::parameterTable()
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("step", 0.0, 1.0, 0.5, &BStepper::step, "the value from which the source gives 1, not 0"),
    });
    return table;
}

BStepper::~BStepper() = default;

double BStepper::formula(double x, double y, double z) const
{
    return tex::step(step, input(0)->value(x, y, z));
}

void BStepper::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<BStepper>())
        return Basis::formulaRun(x, y, z, out, n);
    input(0)->values(x, y, z, out, n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = tex::step(step, out[i]);
}

const NodeType& BStepper::nodeType()
{
    static const NodeType type =
        NodeType("BStepper", "its source through a step: 0 below it, 1 from it on", parameterTable().list())
            .field<BStepper>()
            .input("source", "the field stepped")
            .costs({80});
    return type;
}

} // namespace tex
