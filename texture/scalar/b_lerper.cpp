#include "texture/scalar/b_lerper.h"

#include "support/detail/scalar_arithmetic.h"
#include "support/scalar.h"
#include "texture/scalar/detail/runs.h"
#include "texture/scalar/node_type.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

BLerper::BLerper() : Basis(2)
{
    useParameters(parameterTable());
}

const ParameterTable& BLerper::parameterTable()
{
    static const ParameterTable table(Basis::parameterTable(), {
        ParameterTable::real("amount", 0.0, 1.0, 0.5, &BLerper::amount, "the weight of b: 0 gives a, 1 gives b"),
    });
    return table;
}

BLerper::~BLerper() = default;

double BLerper::formula(double x, double y, double z) const
{
    const double b = input(1)->value(x, y, z);
    const double a = input(0)->value(x, y, z);
    return lerp(a, b, amount);
}

void BLerper::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<BLerper>())
        return Basis::formulaRun(x, y, z, out, n);
    double b[detail::runBlock];
    detail::forEachBlock(n, [&](std::size_t start, std::size_t count) {
        input(1)->values(x + start, y + start, z + start, b, count);
        double* a = out + start;
        input(0)->values(x + start, y + start, z + start, a, count);
        for (std::size_t i = 0; i < count; ++i)
            a[i] = detail::lerp(a[i], b[i], amount);
    });
}

const NodeType& BLerper::nodeType()
{
    static const NodeType type = NodeType("BLerper", "a blend of two fields", parameterTable().list())
                                     .field<BLerper>()
                                     .input("a", "the field weighted 1 - amount")
                                     .input("b", "the field weighted amount")
            .costs({80});
    return type;
}

} // namespace tex
