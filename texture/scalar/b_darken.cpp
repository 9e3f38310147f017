#include "texture/scalar/b_darken.h"

#include "support/detail/scalar_arithmetic.h"
#include "support/scalar.h"
#include "texture/scalar/detail/runs.h"
#include "texture/scalar/node_type.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BDarken::BDarken() : Basis(2)
{
    useParameters(parameterTable());
}

const ParameterTable& BDarken::parameterTable()
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("amount", 0.0, 1.0, 0.5, &BDarken::amount,
                             "how strongly the shade darkens: 0 not at all, 1 by its whole value"),
    });
    return table;
}

BDarken::~BDarken() = default;

double BDarken::formula(double x, double y, double z) const
{
    const double a = input(0)->value(x, y, z);
    const double b = input(1)->value(x, y, z);
    return a * lerp(1.0, b, amount);
}

void BDarken::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<BDarken>())
        return Basis::formulaRun(x, y, z, out, n);
    double b[detail::runBlock];
    detail::forEachBlock(n, [&](std::size_t start, std::size_t count) {
        double* a = out + start;
        input(0)->values(x + start, y + start, z + start, a, count);
        input(1)->values(x + start, y + start, z + start, b, count);
        for (std::size_t i = 0; i < count; ++i)
            a[i] = a[i] * detail::lerp(1.0, b[i], amount);
    });
}

const NodeType& BDarken::nodeType()
{
    static const NodeType type = NodeType("BDarken", "a field darkened by another", parameterTable().list())
                                     .field<BDarken>()
                                     .input("source", "the field darkened")
                                     .input("shade", "the field it is multiplied by")
            .costs({80});
    return type;
}

} // namespace tex
