#include "texture/scalar/b_gainer.h"

#include "support/detail/scalar_runs.h"
#include "support/scalar.h"
#include "texture/scalar/node_type.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BGainer::BGainer() : Basis(1)
{
    useParameters(parameterTable());
}

const ParameterTable& BGainer::parameterTable()
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("gain", 0.0, 1.0, 0.5, &BGainer::gain,
                             "0.5 keeps the values; above pushes them toward 0 and 1, below toward 0.5"),
    });
    return table;
}

BGainer::~BGainer() = default;

double BGainer::formula(double x, double y, double z) const
{
    return tex::gain(gain, input(0)->value(x, y, z));
}

void BGainer::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<BGainer>())
        return Basis::formulaRun(x, y, z, out, n);
    input(0)->values(x, y, z, out, n);
    detail::gainRun(gain, out, out, n);
}

const NodeType& BGainer::nodeType()
{
    static const NodeType type = NodeType("BGainer", "its source through a gain curve", parameterTable().list())
                                     .field<BGainer>()
                                     .input("source", "the field reshaped")
            .costs({100});
    return type;
}

} // namespace tex
