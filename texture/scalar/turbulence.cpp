#include "texture/scalar/turbulence.h"

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
            .costs({1, "octaves"});
    return type;
}

} // namespace tex
