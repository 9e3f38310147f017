#include "texture/colour/flagstone.h"

#include "support/scalar.h"
#include "tests/texture/colour/probe_colour.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/voronoi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace tex;

namespace {

constexpr int cellSeed = 101;
constexpr int grainSeed = 202;

struct Texel {
    std::uint32_t id;
    double gap;
    double jointGrain;
    double stoneGrain;
    Colour colour;
};

// Samples a Flagstone beside its own cells and grain built from the same seeds.
class FlagstoneGrid : public ::testing::Test {
protected:
    Texel at(double x, double y, double z)
    {
        return Texel{cells.nearestId(x, y, z), cells.distanceGap(x, y, z),
                     grain.value(7.7 * x, 7.7 * y, 7.7 * z), grain.value(5 * x, 5 * y, 5 * z),
                     flagstone.colour(x, y, z)};
    }

    Flagstone flagstone{cellSeed, grainSeed};
    Voronoi cells{cellSeed, 256, 1.5};
    Noise grain{grainSeed, 256};
};

TEST_F(FlagstoneGrid, StonesAndMortarFollowTheGap)
{
    int stones = 0, mortar = 0;
    for (int r = 0; r < 96; ++r) {
        for (int c = 0; c < 96; ++c) {
            const double x = c / 12.0 - 2.0, y = r / 12.0 + 1.0, z = 0.3;
            const Texel t = at(x, y, z);
            if (t.gap < 0.1) {
                ++mortar;
                const Colour expected = Flagstone::mortarColour * (1 + 0.05 * t.jointGrain);
                expectColour(t.colour, expected.r, expected.g, expected.b, expected.a);
                EXPECT_GT(t.colour.a, 1.0);
            } else {
                ++stones;
                const Colour expected
                    = Flagstone::stoneColours[t.id >> 30] * (0.5 * t.gap + 0.7) * (1 + 0.1 * t.stoneGrain);
                expectColour(t.colour, expected.r, expected.g, expected.b, expected.a);
            }
        }
    }
    EXPECT_GT(stones, 1000);
    EXPECT_GT(mortar, 200);
}

TEST_F(FlagstoneGrid, OneStoneKeepsOneColour)
{
    std::map<std::uint32_t, double> redOf;
    for (int r = 0; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            const Texel t = at(c / 8.0, r / 8.0, -1.7);
            if (t.gap < 0.1)
                continue;
            // Undo the shading: what is left is the stone's own colour.
            const double red = t.colour.r / (0.5 * t.gap + 0.7) / (1 + 0.1 * t.stoneGrain);
            const auto seen = redOf.emplace(t.id, red);
            EXPECT_NEAR(seen.first->second, red, 1e-12);
            bool known = false;
            for (const Colour& stone : Flagstone::stoneColours)
                known = known || std::fabs(stone.r - red) < 1e-12;
            EXPECT_TRUE(known);
        }
    }
    EXPECT_GT(redOf.size(), 20u);
}

TEST_F(FlagstoneGrid, BordersBetweenStonesAreMortar)
{
    // Neighbouring samples 1/64 apart with different nearest points lie
    // within 1/64 of the border, where the gap is at most 1/32.
    const double step = 1.0 / 64;
    int borders = 0;
    for (int r = 0; r < 128; ++r) {
        Texel previous = at(0.0, r * step, 2.5);
        for (int c = 1; c < 128; ++c) {
            const Texel t = at(c * step, r * step, 2.5);
            if (t.id != previous.id) {
                ++borders;
                for (const Texel* side : {static_cast<const Texel*>(&previous), &t}) {
                    EXPECT_LT(side->gap, 0.1);
                    const Colour expected = Flagstone::mortarColour * (1 + 0.05 * side->jointGrain);
                    expectColour(side->colour, expected.r, expected.g, expected.b, expected.a);
                }
            }
            previous = t;
        }
    }
    EXPECT_GT(borders, 50);
}

TEST(Flagstone, HasNoParametersNoInputsAndNoSpline)
{
    Flagstone flagstone;
    EXPECT_TRUE(flagstone.inputsReady());
    EXPECT_EQ(flagstone.inputCount(), 0);
    EXPECT_EQ(flagstone.colourInputCount(), 0);
    EXPECT_FALSE(flagstone.hasSpline());
    EXPECT_EQ(flagstone.spline(), nullptr);
    EXPECT_EQ(flagstone.getParameter("darken"), 0.0);
    EXPECT_TRUE(flagstone.parameters().empty());
    const Colour before = flagstone.colour(3.3, 4.4, 5.5);
    Flagstone other(1, 2);
    ProbeColour red(Colour(1, 0, 0, 1));
    flagstone.setColourInput(&red, 0);
    flagstone.setColourInput(&other, 0);
    const Colour after = flagstone.colour(3.3, 4.4, 5.5);
    expectColour(after, before.r, before.g, before.b, before.a);
}

TEST(Flagstone, ConstantColoursAreTheStoneAndMortarShades)
{
    expectColour(Flagstone::stoneColours[0], 236 / 255.0, 168 / 255.0, 134 / 255.0, 1);
    expectColour(Flagstone::stoneColours[1], 233 / 255.0, 220 / 255.0, 191 / 255.0, 1);
    expectColour(Flagstone::stoneColours[2], 238 / 255.0, 204 / 255.0, 122 / 255.0, 1);
    expectColour(Flagstone::stoneColours[3], 199 / 255.0, 162 / 255.0, 103 / 255.0, 1);
    expectColour(Flagstone::mortarColour, 250 / 255.0, 240 / 255.0, 215 / 255.0, 1);
}

} // namespace
