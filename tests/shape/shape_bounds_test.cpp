#include "shape/creature_bounds.h"
#include "shape/shape_file.h"
#include "shape/shape_random.h"
#include "shape/super_formula.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

TEST(Bounds, AngleIsThePlainSumWithinOneTurnAndFoldsExactlyBeyond)
{
    SuperFormula s(1, 1, 4, 2, 2, 2, 0);
    s.speed = 0;
    s.wander = 0;
    s.rotspeed = 7.3;
    s.angle = 179.9;
    double expected = 179.9 + 0.005 * 7.3;
    s.animate(0.005);
    EXPECT_EQ(expected, s.angle); // still inside: untouched by the fold
    for (int i = 0; i < 3; ++i) {
        const double sum = s.angle + 0.005 * 7.3;
        expected = sum > 180 ? sum - 360 : sum;
        s.animate(0.005);
        EXPECT_EQ(expected, s.angle);
    }
    EXPECT_LT(s.angle, -179.8); // it crossed

    // At the fastest spin, backwards, for 40 s of the world's time.
    s.rotspeed = boundsOf(CreatureField::rotspeed).lo;
    for (int i = 0; i < 8000; ++i) {
        const double sum = s.angle + 0.005 * s.rotspeed;
        s.animate(0.005);
        ASSERT_GE(s.angle, -180) << i;
        ASSERT_LE(s.angle, 180) << i;
        ASSERT_EQ(0, std::fmod(s.angle - sum, 360.0)) << i; // whole turns, no rounding
    }
}

TEST(Bounds, BreedingAndSlidersStopAtTheEndsOfTheRanges)
{
    // A parent at the top of every range, bred at the slider's highest rate:
    // a factor above 1 gives exactly the top, never more.
    SuperFormula top(1e4, 1e4, 2e4, 1e6, 1e6, 1e6, 0);
    top.rotspeed = 3e5;
    top.border = 1e3;
    top.eye = 5e3;
    top.speed = 2e3;
    top.wander = 1e4;
    top.position = {7, -7};
    seedShapeRandom(9);
    int atTop = 0;
    for (int n = 0; n < 200; ++n) {
        std::unique_ptr<SuperFormula> child(mutant(top, 2.0));
        EXPECT_EQ("", shapeProblem(*child).toStdString());
        atTop += child->a == 1e4;
    }
    EXPECT_GT(atTop, 50); // about half the factors exceed 1

    SuperFormula s(1, 1, 4, 2, 2, 2, 0);
    s.setParamSteps(6, INT_MAX);
    EXPECT_EQ(3e5, s.rotspeed);
    s.setParamSteps(0, INT_MIN);
    EXPECT_EQ(0.0, s.a);
}
