#include "texture/scalar/turbulence.h"

#include "texture/scalar/detail/octave_run.h"
#include "texture/scalar/detail/octave_sum.h"
#include "texture/scalar/node_type.h"
#include "texture/scalar/parameter_table.h"

#include <cmath>
#include <memory>

namespace tex {

Turbulence::Turbulence(int seed, int octaves) : FractalSum(0, octaves), source(seed, 256)
{
}

Turbulence::Turbulence(int octaves) : FractalSum(0, octaves), source(256)
{
}

Turbulence::~Turbulence() = default;

double Turbulence::formula(double x, double y, double z) const
{
    return octaveSum(x, y, z, Noise::bound, 1.0, [this](double px, double py, double pz) {
        return std::fabs(source.noise(px, py, pz));
    });
}

void Turbulence::formulaRun(const double* x, const double* y, const double* z, double* out, std::size_t n) const
{
    if (!isExactly<Turbulence>())
        return Basis::formulaRun(x, y, z, out, n);
    octaveRun(x, y, z, out, n, Noise::bound, 1.0,
              [this](const double* px, const double* py, const double* pz, double* terms, std::size_t m) {
                  source.noiseRun(px, py, pz, terms, m);
                  for (std::size_t i = 0; i < m; ++i)
                      terms[i] = std::fabs(terms[i]);
              });
}

const NodeType& Turbulence::nodeType()
{
    static const NodeType type =
        NodeType("Turbulence", "the magnitude of gradient noise summed over ever finer octaves",
                 parameterTable().list())
            .field([](const ArgumentValues& a) -> std::unique_ptr<Basis> {
                // The octave count starts at the parameter's default, as FBM's does.
                const int octaves = nodeType().findParameter("octaves")->defaultValue.intValue;
                return std::make_unique<Turbulence>(int(a[0]), octaves);
            })
            .argument(ArgumentInfo::seed("seed", "shuffles its gradient noise (period 256)"))
            .costs({150, "octaves"});
    return type;
}

} // namespace tex
