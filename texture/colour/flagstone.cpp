#include "texture/colour/flagstone.h"

#include "support/scalar.h"
#include "texture/scalar/node_type.h"

#include <memory>

namespace tex {

const Colour Flagstone::stoneColours[4] = {
    Colour(236 / 255.0, 168 / 255.0, 134 / 255.0, 1),
    Colour(233 / 255.0, 220 / 255.0, 191 / 255.0, 1),
    Colour(238 / 255.0, 204 / 255.0, 122 / 255.0, 1),
    Colour(199 / 255.0, 162 / 255.0, 103 / 255.0, 1),
};

const Colour Flagstone::mortarColour(250 / 255.0, 240 / 255.0, 215 / 255.0, 1);

Flagstone::Flagstone() : cells(256, 1.5), grainNoise(256) {}

Flagstone::Flagstone(int cellSeed, int grainSeed) : cells(cellSeed, 256, 1.5), grainNoise(grainSeed, 256) {}

Flagstone::~Flagstone() = default;

Colour Flagstone::formula(double x, double y, double z) const
{
    const std::uint32_t id = cells.nearestId(x, y, z);
    const double gap = cells.distanceGap(x, y, z);
    const double inside = step(0.1, gap);
    const double jointGrain = grainNoise.value(7.7 * x, 7.7 * y, 7.7 * z);
    const Colour mortar = mortarColour * (1 + 0.05 * jointGrain);
    const double stoneGrain = grainNoise.value(5 * x, 5 * y, 5 * z);
    const Colour stone = stoneColours[id >> 30] * (0.5 * gap + 0.7) * (1 + 0.1 * stoneGrain);
    return lerp(stone, mortar, 1 - inside);
}

const NodeType& Flagstone::nodeType()
{
    static const NodeType type =
        NodeType("Flagstone", "irregular grained paving stones set in light mortar", ColourBasis::parameterList())
            .colour([](const ArgumentValues& a) -> std::unique_ptr<ColourBasis> {
                return std::make_unique<Flagstone>(int(a[0]), int(a[1]));
            })
            .argument(ArgumentInfo::seed("cellSeed", "lays the stones (cellular noise of period 256)"))
            .argument(ArgumentInfo::seed("grainSeed", "grains them (gradient noise of period 256)"))
            // Two cellular queries and two noise samples.
            .costs({2500});
    return type;
}

} // namespace tex
