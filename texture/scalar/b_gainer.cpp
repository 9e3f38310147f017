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

double BGainer::formula(double x, double y, double z) const
{
    return tex::gain(gain, input(0)->value(x, y, z));
}

} // namespace tex
