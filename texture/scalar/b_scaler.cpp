#include "texture/scalar/b_scaler.h"

#include "texture/scalar/detail/runs.h"
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

void BScaler::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<BScaler>())
        return Basis::formulaRun(x, y, z, out, n);
    double px[detail::runBlock], py[detail::runBlock], pz[detail::runBlock];
    detail::forEachBlock(n, [&](std::size_t start, std::size_t count) {
        detail::scaleRun(xfactor, x + start, px, count);
        detail::scaleRun(yfactor, y + start, py, count);
        detail::scaleRun(zfactor, z + start, pz, count);
        input(0)->values(px, py, pz, out + start, count);
    });
}

const NodeType& BScaler::nodeType()
{
    static const NodeType type =
        NodeType("BScaler", "its source sampled at the point stretched axis by axis", parameterTable().list())
            .field<BScaler>()
            .input("source", "the field sampled")
            .costs({80});
    return type;
}

} // namespace tex
