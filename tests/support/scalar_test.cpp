#include "support/scalar.h"

#include <gtest/gtest.h>

using namespace tex;

TEST(Scalar, ClampTakesBoundsFirst)
{
    EXPECT_EQ(clamp(0.01, 0.99, 1.5), 0.99);
    EXPECT_EQ(clamp(0.01, 0.99, -3), 0.01);
    EXPECT_EQ(clamp(0.01, 0.99, 0.5), 0.5);
    EXPECT_EQ(clamp(0.01, 0.99, 0.01), 0.01);
    EXPECT_EQ(clamp(0.01, 0.99, 0.99), 0.99);
    // Crossed bounds: the lower bound is tested first.
    EXPECT_EQ(clamp(1, 0, 0.5), 1);
}

TEST(Scalar, LerpIsUnclamped)
{
    EXPECT_EQ(lerp(2, 4, 0), 2);
    EXPECT_EQ(lerp(2, 4, 1), 4);
    EXPECT_EQ(lerp(2, 4, 0.5), 3);
    EXPECT_EQ(lerp(2, 4, -1), 0);
    EXPECT_EQ(lerp(2, 4, 2), 6);
    EXPECT_EQ(lerp(0.1, 0.7, 0.3), 0.1 + (0.7 - 0.1) * 0.3);
}

TEST(Scalar, StepIsOneFromTheEdgeOn)
{
    EXPECT_EQ(step(0.1, 0.1), 1);
    EXPECT_EQ(step(0.1, 0.0999), 0);
    EXPECT_EQ(step(0.1, 5), 1);
    EXPECT_EQ(step(-1, -2), 0);
}

TEST(Scalar, BiasAndGainMatchTheirDefiningValues)
{
    EXPECT_DOUBLE_EQ(bias(0.25, 0.5), 0.25);
    EXPECT_DOUBLE_EQ(bias(0.8, 0.5), 0.8);
    EXPECT_EQ(bias(0.5, 0.3), 0.3);
    EXPECT_DOUBLE_EQ(gain(0.25, 0.25), 0.375);
    EXPECT_DOUBLE_EQ(gain(0.25, 0.75), 0.625);
    for (double g : {0.1, 0.25, 0.5, 0.9})
        EXPECT_DOUBLE_EQ(gain(g, 0.5), 0.5) << g;
    for (int i = 0; i <= 100; ++i) {
        const double t = i / 100.0;
        EXPECT_DOUBLE_EQ(gain(0.5, t), t) << t;
    }
}

TEST(Scalar, GainSwitchesBranchAtOneHalf)
{
    // Just below 0.5 the lower branch, at 0.5 the upper one: both meet at 0.5.
    EXPECT_NEAR(gain(0.2, 0.4999999), 0.5, 1e-5);
    EXPECT_EQ(gain(0.2, 0.5), 1 - bias(0.8, 1.0) * 0.5);
}
