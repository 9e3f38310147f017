#include "texture/scalar/b_perturber.h"

#include "texture/scalar/node_type.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BPerturber::BPerturber() : Basis(2)
{
    useParameters(parameterTable());
}

const ParameterTable& BPerturber::parameterTable()
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("xperturb", -10.0, 10.0, 0.1, &BPerturber::xperturb,
                             "how far the offset's value pushes the point along x"),
        ParameterTable::real("yperturb", -10.0, 10.0, 0.1, &BPerturber::yperturb,
                             "how far the offset's value pushes the point along y"),
        ParameterTable::real("zperturb", -10.0, 10.0, 0.1, &BPerturber::zperturb,
                             "how far the offset's value pushes the point along z"),
    });
    return table;
}

BPerturber::~BPerturber() = default;

double BPerturber::value(double x, double y, double z)
{
    if (!inputsReady())
        return applyContrast(0.0);
    const double sx = xscale * x;
    const double sy = yscale * y;
    const double sz = zscale * z;
    const double e = input(1)->value(sx, sy, sz);
    const double r = input(0)->value(sx + e * xperturb, sy + e * yperturb, sz + e * zperturb);
    return applyContrast(r);
}

const NodeType& BPerturber::nodeType()
{
    static const NodeType type =
        NodeType("BPerturber", "its source sampled at a point pushed by a second field", parameterTable().list())
            .field<BPerturber>()
            .input("source", "the field sampled at the pushed point")
            .input("offset", "the field whose value pushes the point");
    return type;
}

} // namespace tex
