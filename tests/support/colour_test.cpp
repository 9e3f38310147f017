#include "support/colour.h"

#include <gtest/gtest.h>

using namespace tex;

namespace {

void expectColour(const Colour& c, double r, double g, double b, double a)
{
    EXPECT_EQ(c.r, r);
    EXPECT_EQ(c.g, g);
    EXPECT_EQ(c.b, b);
    EXPECT_EQ(c.a, a);
}

} // namespace

TEST(Colour, ArithmeticActsOnAllFourComponents)
{
    expectColour(Colour(1, 1, 1, 1) * 0.5, 0.5, 0.5, 0.5, 0.5);
    expectColour(Colour(0.1, 0.2, 0.3, 0.4) * -2, -0.2, -0.4, -0.6, -0.8);
    expectColour(Colour(0.5, 0.25, 1, 0) + Colour(0.75, 0.5, 0.5, 0.25), 1.25, 0.75, 1.5, 0.25);
    expectColour(Colour(0.5, 0.25, 1, 0) - Colour(0.75, 0.5, 0.5, 0.25), -0.25, -0.25, 0.5, -0.25);
}

TEST(Colour, ClampToUnitClampsEachComponentInPlace)
{
    Colour c(-0.2, 0.5, 1.7, 1.0);
    c.clampToUnit();
    expectColour(c, 0, 0.5, 1, 1);

    Colour alpha(0.3, 0.3, 0.3, -4);
    alpha.clampToUnit();
    expectColour(alpha, 0.3, 0.3, 0.3, 0);
}

TEST(Colour, LerpHitsItsEndsAndInterpolatesAlpha)
{
    const Colour c0(0.1, 0.2, 0.3, 0.0);
    const Colour c1(0.9, 0.7, 0.5, 1.0);
    expectColour(lerp(c0, c1, 0), 0.1, 0.2, 0.3, 0.0);
    expectColour(lerp(c0, c1, 1), 0.9, 0.7, 0.5, 1.0);
    EXPECT_EQ(lerp(c0, c1, 0.25).a, 0.25);
}

TEST(Colour, LerpScalesTwiceThenSumsAndDoesNotClampT)
{
    const Colour c0(0.1, 0.2, 0.3, 0.4);
    const Colour c1(0.7, 0.3, 0.9, 0.6);
    const double t = 0.3;
    const Colour c = lerp(c0, c1, t);
    // The form c0 * (1 - t) + c1 * t differs in the last bit from
    // c0 + (c1 - c0) * t for some of these components.
    EXPECT_EQ(c.r, 0.1 * (1 - t) + 0.7 * t);
    EXPECT_EQ(c.g, 0.2 * (1 - t) + 0.3 * t);
    EXPECT_EQ(c.b, 0.3 * (1 - t) + 0.9 * t);
    EXPECT_EQ(c.a, 0.4 * (1 - t) + 0.6 * t);

    expectColour(lerp(Colour(0, 0, 0, 0), Colour(1, 1, 1, 1), 2), 2, 2, 2, 2);
}
