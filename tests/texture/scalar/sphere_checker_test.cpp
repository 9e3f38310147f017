#include "texture/scalar/checker.h"
#include "texture/scalar/sphere.h"

#include <gtest/gtest.h>

using namespace tex;

namespace {

TEST(Sphere, IsBrightAtTheCentreAndDarkAtTheSurface)
{
    Sphere sphere;
    EXPECT_EQ(sphere.value(0.5, 0.5, 0.5), 0.99);
    EXPECT_EQ(sphere.value(0.5, 0.5, 0.0), 0.01);
    EXPECT_EQ(sphere.value(1, 1, 1), 0.01);
    EXPECT_EQ(sphere.value(0.5, 0.5, 0.25), 0.5) << "a quarter from the centre is half way";
    EXPECT_EQ(sphere.value(3.5, 7.5, 2.5), 0.99);
}

TEST(Sphere, ScaleRepeatsTheBalls)
{
    Sphere sphere;
    sphere.setParameter("xscale", 2.0);
    EXPECT_EQ(sphere.value(0.25, 0.5, 0.5), 0.99);
    EXPECT_EQ(sphere.value(0.75, 0.5, 0.5), 0.99);
    EXPECT_EQ(sphere.value(0.3125, 0.5, 0.5), sphere.value(0.8125, 0.5, 0.5));
}

TEST(Sphere, HasNoBallsOnTheNegativeSide)
{
    Sphere sphere;
    for (double c : {-0.5, -0.01, -1.5, -3.25}) {
        EXPECT_EQ(sphere.value(c, 0.5, 0.5), 0.01) << c;
        EXPECT_EQ(sphere.value(0.5, c, 0.5), 0.01) << c;
        EXPECT_EQ(sphere.value(0.5, 0.5, c), 0.01) << c;
    }
    sphere.setParameter("xscale", -1.0);
    EXPECT_EQ(sphere.value(0.5, 0.5, 0.5), 0.01);
    EXPECT_EQ(sphere.value(-0.5, 0.5, 0.5), 0.99);
}

TEST(Checker, AlternatesAlongEveryAxis)
{
    Checker checker;
    EXPECT_EQ(checker.value(0.5, 0.5, 0.5), 0.01);
    EXPECT_EQ(checker.value(1.5, 0.5, 0.5), 0.99);
    EXPECT_EQ(checker.value(0.5, 1.5, 0.5), 0.99);
    EXPECT_EQ(checker.value(0.5, 0.5, 1.5), 0.99);
    EXPECT_EQ(checker.value(1.5, 1.5, 0.5), 0.01);
    EXPECT_EQ(checker.value(1.5, 1.5, 1.5), 0.99);
    EXPECT_EQ(checker.value(2.5, 0.5, 0.5), 0.01);
}

TEST(Checker, TruncatesTowardZero)
{
    Checker checker;
    EXPECT_EQ(checker.value(-0.5, 0.5, 0.5), checker.value(0.5, 0.5, 0.5));
    EXPECT_EQ(checker.value(-0.5, -0.5, -0.5), 0.01);
    EXPECT_EQ(checker.value(-1.5, 0.5, 0.5), 0.99);
    EXPECT_EQ(checker.value(-1.5, -1.5, 0.5), 0.01);
    EXPECT_EQ(checker.value(-1.5, -1.5, -1.5), 0.99) << "the parity of tx + ty + tz, also for negative sums";
    EXPECT_EQ(checker.value(-2.5, 0.5, 1.5), 0.99);
}

TEST(Checker, ScalesAndContrastApply)
{
    Checker checker;
    checker.setParameter("yscale", 2.0);
    EXPECT_EQ(checker.value(0.5, 0.75, 0.5), 0.99);
    checker.setParameter("contrast", 0.0);
    EXPECT_EQ(checker.value(0.5, 0.75, 0.5), 0.5);
    EXPECT_EQ(checker.value(0.5, 0.25, 0.5), 0.5);
}

TEST(SphereAndChecker, HaveOnlyTheBasisParametersAndNoInputs)
{
    Sphere sphere;
    Checker checker;
    EXPECT_EQ(&sphere.parameters(), &Basis::parameterList());
    EXPECT_EQ(&checker.parameters(), &Basis::parameterList());
    EXPECT_EQ(sphere.inputCount(), 0);
    EXPECT_TRUE(checker.inputsReady());
    EXPECT_EQ(checker.getParameter("xscale"), 1.0);
}

} // namespace
