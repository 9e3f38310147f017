#include "texture/scalar/b_gainer.h"

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

const NodeType& BGainer::nodeType()
{
    static const NodeType type = NodeType("BGainer", "its source through a gain curve", parameterTable().list())
                                     .field<BGainer>()
                                     .input("source", "the field reshaped");
    return type;
}

} // namespace tex
