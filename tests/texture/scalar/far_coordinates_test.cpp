// Points far beyond the range of an int: every finite coordinate has its
// lattice cell, and the fields repeat with their periods however far out.

#include "texture/scalar/checker.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/sphere.h"
#include "texture/scalar/turbulence.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tex;

namespace {

// Shifts by a multiple of 256, so of every power-of-two lattice period.
const double shifts[] = {
    -3e9, 2147483648.0, -2147483648.0 - 256, 1e15, -1e15, std::ldexp(1.0, 40),
    std::ldexp(1.0, 55), std::ldexp(1.0, 60) + std::ldexp(1.0, 12), -std::ldexp(1.0, 60), 1e300,
};

const double bases[] = {0.375, 5.5, 13.875, -2.25, 200.625};

TEST(FarCoordinates, NoiseRepeatsWithItsSizeOnEveryAxisHoweverFarOut)
{
    for (int size : {16, 256}) {
        const Noise n(31, size);
        for (double shift : shifts)
            for (double base : bases) {
                // The base as it survives at the shift's magnitude (from 2^53
                // on only integers, and coarser ones further out): `far`
                // minus the shift is exact.
                const double far = base + shift;
                const double near = far - shift;
                EXPECT_EQ(n.noise(far, 0.3, 0.6), n.noise(near, 0.3, 0.6)) << size << " " << far;
                EXPECT_EQ(n.noise(0.7, far, 0.4), n.noise(0.7, near, 0.4)) << size << " " << far;
                EXPECT_EQ(n.noise(0.2, 0.9, far), n.noise(0.2, 0.9, near)) << size << " " << far;
            }
    }
}

TEST(FarCoordinates, NoiseAtMinusThreeBillionIsTheNoiseNearTheOrigin)
{
    // Once -2.7e45: the lattice index overflowed an int.
    Noise n(1, 16);
    const double near = n.noise(0.5, 0.25, 0.5);
    EXPECT_NE(near, 0.0);
    EXPECT_EQ(n.noise(0.5, -3e9 + 0.25, 0.5), near);
    EXPECT_EQ(n.value(0.5, -3e9 + 0.25, 0.5), n.value(0.5, 0.25, 0.5));
}

TEST(FarCoordinates, NoiseStaysWithinItsBoundEverywhere)
{
    const Noise n(8, 256);
    Random r(99);
    double largest = 0;
    for (int i = 0; i < 100000; ++i) {
        const double scale = std::ldexp(1.0, static_cast<int>(r.nextDouble() * 80));
        const double v = n.noise((r.nextDouble() - 0.5) * scale, (r.nextDouble() - 0.5) * scale, r.nextDouble() * 16);
        largest = std::fmax(largest, std::fabs(v));
    }
    EXPECT_LE(largest, Noise::bound);
    EXPECT_GT(largest, 0.5);
}

TEST(FarCoordinates, FbmAtTheListedMaximaFollowsThePeriod)
{
    // Octaves 16 and lacunarity 4 take x = 3 to 3 * 4^15, about 3.2e9.
    Noise noise(4, 16);
    FBM fbm;
    fbm.setInput(&noise, 0);
    fbm.setIntParameter("octaves", 16);
    fbm.setParameter("lacunarity", 4.0);
    const double here = fbm.value(3, 0.3, 0.7);
    for (double x : {19.0, 3.0 + 16 * 1000, 3.0 - 16 * 7})
        EXPECT_EQ(fbm.value(x, 0.3, 0.7), here) << x;
}

TEST(FarCoordinates, TurbulenceSixteenthOctaveMovesTheValueByItsWeightAtMost)
{
    // Once up to 0.81 at x of 65536 and more.
    Turbulence fifteen(6, 15);
    Turbulence sixteen(6, 16);
    for (double x : {65536.3, 100000.7, 3e6 + 0.1, 7e8 + 0.45}) {
        const double moved = sixteen.value(x, 0.35, 0.8) - fifteen.value(x, 0.35, 0.8);
        EXPECT_GE(moved, 0.0) << x;
        EXPECT_LE(moved, std::ldexp(Noise::bound, -15)) << x;
    }
}

TEST(FarCoordinates, CheckerKeepsTheParityOfTheTruncatedCoordinates)
{
    Checker checker;
    const double p53 = std::ldexp(1.0, 53);
    struct Case {
        double x;
        double expected;
    };
    const Case cases[] = {
        {2147483648.0 + 0.5, 0.01}, {2147483648.0 + 1.5, 0.99}, {-2147483648.0 - 1.5, 0.99},
        {-2147483648.0 - 0.5, 0.01}, {-3e9 - 0.5, 0.01},          {-3e9 - 1.25, 0.99},
        {p53 - 1, 0.99},             {p53 + 2, 0.01},              {-p53 - 2, 0.01},
        {1e300, 0.01},               {-1e300, 0.01},
    };
    for (const Case& c : cases) {
        const double flipped = c.expected == 0.01 ? 0.99 : 0.01;
        EXPECT_EQ(checker.value(c.x, 0.5, 0.5), c.expected) << c.x;
        EXPECT_EQ(checker.value(0.5, c.x, 1.5), flipped) << c.x;
        EXPECT_EQ(checker.value(0.5, 0.5, c.x), c.expected) << c.x;
    }
}

TEST(FarCoordinates, SphereKeepsItsBallsUntilEveryDoubleIsAnInteger)
{
    Sphere sphere;
    EXPECT_EQ(sphere.value(std::ldexp(1.0, 40) + 0.5, 0.5, 0.5), 0.99);
    EXPECT_EQ(sphere.value(0.5, 3e9 + 0.5, 0.5), 0.99);
    EXPECT_EQ(sphere.value(0.5, 0.5, std::ldexp(1.0, 51) + 0.5), 0.99);
    // From 2^52 on the offset is -0.5 on that axis: no ball.
    EXPECT_EQ(sphere.value(std::ldexp(1.0, 52), 0.5, 0.5), 0.01);
    EXPECT_EQ(sphere.value(0.5, 1e300, 0.5), 0.01);
}

} // namespace
