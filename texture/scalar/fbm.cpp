#include "texture/scalar/fbm.h"

#include "texture/scalar/detail/octave_run.h"
#include "texture/scalar/detail/octave_sum.h"
#include "texture/scalar/node_type.h"
#include "texture/scalar/parameter_table.h"

namespace tex {

FBM::FBM() : FractalSum(1) {}

FBM::~FBM() = default;

double FBM::formula(double x, double y, double z) const
{
    const Basis* field = input(0);
    // Every field's values lie in [0.01, 0.99].
    return octaveSum(x, y, z, 0.99, 0.5, [field](double px, double py, double pz) {
        return field->value(px, py, pz);
    });
}

void FBM::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<FBM>())
        return Basis::formulaRun(x, y, z, out, n);
    const Basis* field = input(0);
    octaveRun(x, y, z, out, n, 0.99, 0.5,
              [field](const double* px, const double* py, const double* pz, double* terms, std::size_t m) {
                  field->values(px, py, pz, terms, m);
              });
}

const NodeType& FBM::nodeType()
{
    static const NodeType type =
        NodeType("FBM", "fractional Brownian motion: its source summed over ever finer octaves",
                 parameterTable().list())
            .field<FBM>()
            .input("source", "the field summed")
            .costs({40, "octaves"});
    return type;
}

} // namespace tex
