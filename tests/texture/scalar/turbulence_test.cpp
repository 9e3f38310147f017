#include "texture/scalar/turbulence.h"

#include "texture/scalar/noise.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tex;

namespace {

TEST(Turbulence, IsZeroAtTheOrigin)
{
    Turbulence turbulence(5, 8);
    EXPECT_EQ(turbulence.value(0, 0, 0), 0.01);
}

TEST(Turbulence, SumsAbsoluteRawNoiseWithoutHalving)
{
    Turbulence turbulence(42, 4);
    turbulence.setParameter("xscale", 0.75);
    turbulence.setParameter("lacunarity", 1.5);
    Noise noise(42, 256);
    for (double x : {0.3, 2.71, -5.5, 17.03}) {
        const double y = 0.4 * x + 0.1, z = 1.3 - x;
        double sum = 0, px = 0.75 * x, py = y, pz = z, weight = 1;
        for (int octave = 0; octave < 4; ++octave) {
            sum = sum + std::fabs(noise.noise(px, py, pz)) * weight;
            px = px * 1.5;
            py = py * 1.5;
            pz = pz * 1.5;
            weight = weight / 1.5;
        }
        EXPECT_EQ(turbulence.value(x, y, z), std::min(0.99, std::max(0.01, (sum - 0.5) * 1.0 + 0.5)));
        EXPECT_GT(sum, 0.0);
    }
}

TEST(Turbulence, SameSeedSameField)
{
    Turbulence a(9, 6), b(9, 6);
    for (double x = -3; x < 3; x += 0.37)
        EXPECT_EQ(a.value(x, x * 0.5, 1.25), b.value(x, x * 0.5, 1.25));
}

TEST(Turbulence, NoOctavesGiveTheBottomOfTheRange)
{
    Turbulence none(1, 0), negative(1, -2);
    EXPECT_EQ(none.value(0.3, 0.4, 0.5), 0.01);
    EXPECT_EQ(negative.value(0.3, 0.4, 0.5), 0.01);
}

TEST(Turbulence, ParametersAreListedInOrderAndRoutedByKind)
{
    Turbulence turbulence(3, 5);
    const char* names[] = {"contrast", "xscale", "yscale", "zscale", "octaves", "lacunarity"};
    ASSERT_EQ(turbulence.parameters().size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(turbulence.parameters()[i].name, names[i]);
    EXPECT_EQ(turbulence.getIntParameter("octaves"), 5);
    EXPECT_EQ(turbulence.findParameter("octaves")->defaultValue.intValue, 8);
    turbulence.setParameter("octaves", 2.0);
    EXPECT_EQ(turbulence.getIntParameter("octaves"), 5);
    turbulence.setIntParameter("octaves", 3);
    EXPECT_EQ(turbulence.getIntParameter("octaves"), 3);
    EXPECT_EQ(turbulence.getParameter("lacunarity"), 2.0);
    EXPECT_EQ(turbulence.getIntParameter("lacunarity"), 0);
    turbulence.setIntParameter("lacunarity", 7);
    EXPECT_EQ(turbulence.getParameter("lacunarity"), 2.0);
    EXPECT_EQ(turbulence.inputCount(), 0);
    EXPECT_TRUE(turbulence.inputsReady());
}

TEST(Turbulence, ClockSeededConstructorKeepsTheOctaves)
{
    Turbulence turbulence(7);
    EXPECT_EQ(turbulence.getIntParameter("octaves"), 7);
    const double v = turbulence.value(0.5, 0.25, 0.125);
    EXPECT_GE(v, 0.01);
    EXPECT_LE(v, 0.99);
}

} // namespace
