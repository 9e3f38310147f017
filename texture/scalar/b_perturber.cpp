#include "texture/scalar/b_perturber.h"

#include "texture/scalar/detail/runs.h"
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

double BPerturber::formula(double x, double y, double z) const
{
    const double e = input(1)->value(x, y, z);
    return input(0)->value(x + e * xperturb, y + e * yperturb, z + e * zperturb);
}

void BPerturber::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<BPerturber>())
        return Basis::formulaRun(x, y, z, out, n);
    double e[detail::runBlock], px[detail::runBlock], py[detail::runBlock], pz[detail::runBlock];
    detail::forEachBlock(n, [&](std::size_t start, std::size_t count) {
        input(1)->values(x + start, y + start, z + start, e, count);
        for (std::size_t i = 0; i < count; ++i) {
            px[i] = x[start + i] + e[i] * xperturb;
            py[i] = y[start + i] + e[i] * yperturb;
            pz[i] = z[start + i] + e[i] * zperturb;
        }
        input(0)->values(px, py, pz, out + start, count);
    });
}

const NodeType& BPerturber::nodeType()
{
    static const NodeType type =
        NodeType("BPerturber", "its source sampled at a point pushed by a second field", parameterTable().list())
            .field<BPerturber>()
            .input("source", "the field sampled at the pushed point")
            .input("offset", "the field whose value pushes the point")
            .costs({80});
    return type;
}

} // namespace tex
