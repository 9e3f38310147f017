#include "shape/super_formula.h"
#include "shape_draws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

namespace {

} // namespace

TEST(ShapeRandom, StaysWithin0To32767AndFollowsTheTopBitsOfRand)
{
    seedShapeRandom(7);
    std::vector<int> raw;
    for (int i = 0; i < 1000; ++i)
        raw.push_back(std::rand());
    seedShapeRandom(7);
    int low = 32767;
    int high = 0;
    for (int i = 0; i < 1000; ++i) {
        const int r = shapeRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        if (RAND_MAX == 2147483647) {
            EXPECT_EQ(raw[i] / 65536, r);
        }
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_LT(low, 200);
    EXPECT_GT(high, 32567);
}

TEST(ShapeRandom, SameSeedSameSequence)
{
    EXPECT_EQ(drawsAfterSeed(42, 50), drawsAfterSeed(42, 50));
    EXPECT_NE(drawsAfterSeed(42, 50), drawsAfterSeed(43, 50));
}

TEST(SuperFormulaConstruction, DefaultsAndFieldOrder)
{
    SuperFormula s(1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 0);
    EXPECT_EQ(1.5, s.a);
    EXPECT_EQ(2.5, s.b);
    EXPECT_EQ(3.5, s.m);
    EXPECT_EQ(4.5, s.n1);
    EXPECT_EQ(5.5, s.n2);
    EXPECT_EQ(6.5, s.n3);
    EXPECT_EQ(85, s.samples);
    EXPECT_EQ(0.0, s.angle);
    EXPECT_EQ(1.0, s.rotspeed);
    const float expected[3][4] = {{1, 1, 0, 1}, {1, 0.3f, 0, 1}, {0, 0.5f, 0.9f, 1}};
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(expected[c][k], s.colour[c][k]) << c << "," << k;
    EXPECT_EQ(0.1, s.border);
    EXPECT_EQ(1.0, s.eye);
    EXPECT_EQ(1.0, s.speed);
    EXPECT_EQ(0.1, s.wander);
    EXPECT_EQ(1.0, s.heading.x);
    EXPECT_EQ(0.0, s.heading.y);
    EXPECT_EQ(0.0, s.position.x);
    EXPECT_EQ(0.0, s.position.y);
    EXPECT_EQ(1.0, s.blinkTime);
    EXPECT_FALSE(s.eyeClosed);
    // The six formula parameters lie together at the front, in index order.
    EXPECT_EQ(&s.a + 5, &s.n3);
}

TEST(SuperFormulaConstruction, SampleCountFromMTruncatesTowardZero)
{
    EXPECT_EQ(110, SuperFormula(1, 1, 6, 1, 1, 1, 0).samples);
    EXPECT_EQ(119, SuperFormula(1, 1, 6.99, 1, 1, 1, 0).samples);
    EXPECT_EQ(60, SuperFormula(1, 1, 1, 1, 1, 1, 0).samples);
    EXPECT_EQ(150, SuperFormula(1, 1, 10, 1, 1, 1, 0).samples);
    // trunc(10 * -5.05 + 50) = trunc(-0.5) = 0, not -1.
    EXPECT_EQ(0, SuperFormula(1, 1, -5.05, 1, 1, 1, 0).samples);
    EXPECT_EQ(-50, SuperFormula(1, 1, -10, 1, 1, 1, 0).samples);
}

TEST(SuperFormulaConstruction, ExplicitSampleCountAboveThreeIsKept)
{
    EXPECT_EQ(4, SuperFormula(1, 1, 6, 1, 1, 1, 4).samples);
    EXPECT_EQ(500, SuperFormula(1, 1, 6, 1, 1, 1, 500).samples);
    EXPECT_EQ(110, SuperFormula(1, 1, 6, 1, 1, 1, 3).samples);
    EXPECT_EQ(110, SuperFormula(1, 1, 6, 1, 1, 1, -7).samples);
}

TEST(SuperFormulaConstruction, SampleCountIsBoundedForHugeAndNaNM)
{
    const int most = SuperFormula::maxSamples - 1;
    // The largest m whose count is still below the bound is exact.
    EXPECT_EQ(most - 1, SuperFormula(1, 1, (most - 1 - 50) / 10.0, 1, 1, 1, 0).samples);
    EXPECT_EQ(most, SuperFormula(1, 1, (most - 50) / 10.0, 1, 1, 1, 0).samples);
    EXPECT_EQ(most, SuperFormula(1, 1, 1e6, 1, 1, 1, 0).samples);
    EXPECT_EQ(most, SuperFormula(1, 1, 1e300, 1, 1, 1, 0).samples);
    EXPECT_EQ(most, SuperFormula(1, 1, std::numeric_limits<double>::infinity(), 1, 1, 1, 0).samples);
    EXPECT_EQ(most, SuperFormula(1, 1, 6, 1, 1, 1, 2000000000).samples);
    EXPECT_EQ(0, SuperFormula(1, 1, std::nan(""), 1, 1, 1, 0).samples);
    EXPECT_EQ(std::numeric_limits<int>::min(), SuperFormula(1, 1, -1e300, 1, 1, 1, 0).samples);
}

TEST(SuperFormulaCopy, TakesTheRecordButNotTheBlinkState)
{
    SuperFormula s(1, 2, 3, 4, 5, 6, 9);
    s.angle = 33;
    s.rotspeed = -4;
    s.colour[2][1] = 0.125f;
    s.border = 0.2;
    s.eye = 2;
    s.speed = 1.5;
    s.wander = 3;
    s.heading = {0, -1};
    s.position = {2, -3};
    s.blinkTime = 0.05;
    s.eyeClosed = true;

    const SuperFormula c(s);
    EXPECT_EQ(9, c.samples);
    EXPECT_EQ(6.0, c.n3);
    EXPECT_EQ(33.0, c.angle);
    EXPECT_EQ(-4.0, c.rotspeed);
    EXPECT_EQ(0.125f, c.colour[2][1]);
    EXPECT_EQ(0.2, c.border);
    EXPECT_EQ(2.0, c.eye);
    EXPECT_EQ(1.5, c.speed);
    EXPECT_EQ(3.0, c.wander);
    EXPECT_EQ(-1.0, c.heading.y);
    EXPECT_EQ(-3.0, c.position.y);
    EXPECT_EQ(1.0, c.blinkTime);
    EXPECT_FALSE(c.eyeClosed);
}

TEST(Wrap, FoldsByWholePeriodsAndKeepsTheBounds)
{
    EXPECT_EQ(6.0, wrap(6.0, -6, 6));
    EXPECT_EQ(-6.0, wrap(-6.0, -6, 6));
    EXPECT_EQ(-5.5, wrap(6.5, -6, 6));
    EXPECT_EQ(5.5, wrap(-18.5, -6, 6));
    EXPECT_EQ(0.5, wrap(24.5, -6, 6));
}

TEST(Wrap, FarAndNonFiniteValuesEndInsideWithoutHanging)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {1e9 + 0.5, -1e9 - 0.5, 1e20, -1e300, inf, -inf, std::nan("")}) {
        const double w = wrap(v, -6, 6);
        EXPECT_GE(w, -6) << v;
        EXPECT_LE(w, 6) << v;
    }
    EXPECT_EQ(0.0, wrap(inf, -6, 6));
    EXPECT_EQ(0.5, wrap(12e9 + 0.5, -6, 6));
    // An empty or reversed range folds nothing.
    EXPECT_EQ(9.0, wrap(9.0, 1, 1));
    EXPECT_EQ(9.0, wrap(9.0, 6, -6));
}

TEST(Turn, RotatesTheHeadingClockwiseInMathsTerms)
{
    SuperFormula s(1, 1, 4, 2, 2, 2, 0);
    s.turn(pi / 2);
    EXPECT_NEAR(0.0, s.heading.x, 1e-15);
    EXPECT_NEAR(-1.0, s.heading.y, 1e-15);
    s.heading = {0.6, 0.8};
    s.turn(0.3);
    EXPECT_EQ(0.6 * std::cos(0.3) + 0.8 * std::sin(0.3), s.heading.x);
    EXPECT_EQ(-0.6 * std::sin(0.3) + 0.8 * std::cos(0.3), s.heading.y);
}

TEST(Animate, SpinsTravelsWrapsAndWandersInOrder)
{
    SuperFormula s(1, 1, 4, 2, 2, 2, 0);
    s.rotspeed = 10;
    s.speed = 2;
    s.wander = 0.5;
    s.heading = {0.6, 0.8};
    s.position = {5.99, 1};
    const std::vector<int> r = drawsAfterSeed(11, 1);
    s.animate(0.01);
    EXPECT_EQ(0.01 * 10, s.angle);
    EXPECT_EQ(1.0 - 0.01, s.blinkTime);
    EXPECT_EQ(wrap(5.99 + 2 * 0.6 * 0.01, -6, 6), s.position.x);
    EXPECT_LT(s.position.x, -5.9);
    EXPECT_EQ(1 + 2 * 0.8 * 0.01, s.position.y);
    const double theta = 0.01 * pi * 0.5 * (2 * r[0] / 32767.0 - 1);
    EXPECT_EQ(0.6 * std::cos(theta) + 0.8 * std::sin(theta), s.heading.x);
    EXPECT_EQ(-0.6 * std::sin(theta) + 0.8 * std::cos(theta), s.heading.y);
}

TEST(Animate, BlinkShutsForAFixedTimeAndOpensForTwoToThree)
{
    SuperFormula s(1, 1, 4, 2, 2, 2, 0);
    s.blinkTime = 0.003;
    s.animate(0.005);
    EXPECT_TRUE(s.eyeClosed);
    EXPECT_EQ(0.15, s.blinkTime);

    // Opening draws the open time before the wander draw.
    s.blinkTime = 0.001;
    const std::vector<int> r = drawsAfterSeed(5, 2);
    s.animate(0.005);
    EXPECT_FALSE(s.eyeClosed);
    EXPECT_EQ(r[0] / 32767.0 + 2, s.blinkTime);

    // Exactly reaching zero does not toggle.
    s.blinkTime = 0.005;
    s.animate(0.005);
    EXPECT_FALSE(s.eyeClosed);
    EXPECT_EQ(0.0, s.blinkTime);
}

TEST(Animate, FreshShapeFirstClosesItsEyeAfterOneTimeUnit)
{
    SuperFormula s(1, 1, 4, 2, 2, 2, 0);
    int steps = 0;
    while (!s.eyeClosed && steps < 1000) {
        s.animate(0.125);
        ++steps;
    }
    EXPECT_EQ(9, steps); // 8 steps bring the time left to exactly 0
}

TEST(Animate, StillShapeStaysPutButSpinsAndBlinks)
{
    SuperFormula s(1, 1, 4, 2, 2, 2, 0);
    s.speed = 0;
    s.wander = 0;
    s.position = {1.25, -2.5};
    s.heading = {0.6, 0.8};
    for (int i = 0; i < 220; ++i)
        s.animate(0.005);
    EXPECT_EQ(1.25, s.position.x);
    EXPECT_EQ(-2.5, s.position.y);
    EXPECT_EQ(0.6, s.heading.x);
    EXPECT_EQ(0.8, s.heading.y);
    EXPECT_NEAR(1.1, s.angle, 1e-12);
    EXPECT_TRUE(s.eyeClosed);
}

TEST(RandomIn, ReachesBothEndsAndAllowsReversedRanges)
{
    seedShapeRandom(3);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(2.0, randomIn(2, 2));
        const double v = randomIn(5, 1);
        EXPECT_GE(v, 1);
        EXPECT_LE(v, 5);
    }
    const std::vector<int> r = drawsAfterSeed(8, 1);
    EXPECT_EQ(5 + (r[0] / 32767.0) * (1 - 5), randomIn(5, 1));
}

TEST(RandomSuperFormula, DrawsEveryNumberInOrder)
{
    const std::vector<int> r = drawsAfterSeed(1234, 30);
    std::unique_ptr<SuperFormula> s(randomSuperFormula());
    EXPECT_EQ(in(r[0], 1, 3), s->a);
    EXPECT_EQ(in(r[1], 1, 3), s->b);
    EXPECT_EQ(in(r[2], 1, 10), s->m);
    EXPECT_EQ(in(r[3], 1, 1000), s->n1);
    EXPECT_EQ(in(r[4], 1, 1000), s->n2);
    EXPECT_EQ(in(r[5], 1, 1000), s->n3);
    EXPECT_EQ(int(10 * s->m + 50), s->samples);
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(float(in(r[6 + 4 * c + k], 0, 1)), s->colour[c][k]);
    EXPECT_EQ(in(r[18], 0, 0.3), s->border);
    EXPECT_EQ(in(r[19], -10, 10), s->rotspeed);
    EXPECT_EQ(in(r[20], 0.5, 3), s->eye);
    EXPECT_EQ(in(r[21], 0.9, 10), s->wander);
    EXPECT_EQ(in(r[22], 0, 2), s->speed);
    EXPECT_EQ(in(r[23], -6, 6), s->position.x);
    EXPECT_EQ(in(r[24], -6, 6), s->position.y);
    const double theta = in(r[25], 0, 2 * pi);
    EXPECT_EQ(std::cos(theta), s->heading.x);
    EXPECT_EQ(-std::sin(theta), s->heading.y);
    EXPECT_EQ(r[26], shapeRandom()); // exactly 26 draws
    EXPECT_EQ(0.0, s->angle);
    EXPECT_EQ(1.0, s->blinkTime);
    EXPECT_FALSE(s->eyeClosed);
}

TEST(RandomSuperFormula, StaysWithinItsRanges)
{
    seedShapeRandom(99);
    for (int i = 0; i < 500; ++i) {
        std::unique_ptr<SuperFormula> s(randomSuperFormula());
        ASSERT_GE(s->samples, 60);
        ASSERT_LE(s->samples, 150);
        ASSERT_GE(s->position.x, -6);
        ASSERT_LE(s->position.x, 6);
        ASSERT_GE(s->position.y, -6);
        ASSERT_LE(s->position.y, 6);
        ASSERT_NEAR(1.0, std::hypot(s->heading.x, s->heading.y), 1e-12);
    }
}
