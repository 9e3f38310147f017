#pragma once

#include "texture/colour/colour_basis.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/voronoi.h"

#include <cstddef>

namespace tex {

// Irregular paving: the points nearer to one feature point of an owned
// Voronoi (size 256, density 1.5) than to any other form one stone, drawn in
// one of four stone colours chosen by the top two bits of the point's
// identifier, brightened toward the feature point and grained by an owned
// Noise (size 256). Where the second-nearest point is less than 0.1 farther
// than the nearest, a light mortar is drawn instead. Scalings apply to alpha
// too, so stones fade toward their edges and mortar alpha exceeds 1 before
// baking clamps it.
// No parameters and no inputs.
class Flagstone : public ColourBasis {
public:
    // Its entry in the catalogue.
    static const NodeType& nodeType();

    // Both members seeded from the clock.
    Flagstone();
    // Reproducible paving: the cells are Voronoi(cellSeed, 256, 1.5), the
    // grain Noise(grainSeed, 256).
    Flagstone(int cellSeed, int grainSeed);
    ~Flagstone() override;

    static const Colour stoneColours[4];
    static const Colour mortarColour;

protected:
    Colour formula(double x, double y, double z) const override;
    // The cells' identifiers and gaps from one search over the run (see
    // Voronoi::nearestIdAndGapRun), the grain and the blend in vector lanes.
    void formulaRun(const double* x, const double* y, const double* z, Colour* out, std::size_t n) const override;

private:
    Voronoi cells;
    Noise grainNoise;
};

} // namespace tex
