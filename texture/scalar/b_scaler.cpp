#include "texture/scalar/b_scaler.h"

#include "texture/scalar/node_type.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BScaler::BScaler() : Basis(1)
{
    useParameters(parameterTable());
}

const ParameterTable& BScaler::parameterTable()
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("x", -5.0, 5.0, 1.0, &BScaler::xfactor, "factor on the source's x"),
        ParameterTable::real("y", -5.0, 5.0, 1.0, &BScaler::yfactor, "factor on the source's y"),
        ParameterTable::real("z", -5.0, 5.0, 1.0, &BScaler::zfactor, "factor on the source's z"),
    });
    return table;
}

BScaler::~BScaler() = default;

double BScaler::formula(double x, double y, double z) const
{
    return input(0)->value(x * xfactor, y * yfactor, z * zfactor);
}

const NodeType& BScaler::nodeType()
{
    static const NodeType type =
        NodeType("BScaler", "its source sampled at the point stretched axis by axis", parameterTable().list())
            .field<BScaler>()
            .input("source", "the field sampled");
    return type;
}

} // namespace tex
