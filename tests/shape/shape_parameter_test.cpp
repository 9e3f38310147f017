#include "shape/creature_bounds.h"
#include "shape/super_formula.h"
#include "shape_draws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

SuperFormula parentShape()
{
    SuperFormula p(1.5, 2.5, 6.5, 300, 40, 5, 0);
    const float colours[3][4] = {{0.8f, 0.2f, 0.0f, 1.0f}, {0.5f, 0.9f, 0.3f, 0.7f}, {0.1f, 0.6f, 0.99f, 0.4f}};
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 4; ++k)
            p.colour[c][k] = colours[c][k];
    p.border = 0.2;
    p.rotspeed = -7;
    p.eye = 1.5;
    p.wander = 4;
    p.speed = 1.25;
    p.position = {3, -4};
    p.heading = {0, 1};
    p.angle = 50;
    return p;
}

} // namespace

TEST(ParameterTable, NamesStepsAndRanges)
{
    const char* names[] = {"a", "b", "m", "n1", "n2", "n3", "rotspeed", "eye", "border"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(names[i], paramName(i));
    EXPECT_EQ("border", paramName(9));
    EXPECT_EQ("border", paramName(100));
    EXPECT_EQ("border", paramName(-1));
    const double steps[] = {0.1, 0.1, 0.1, 1.0, 1.0, 1.0, 1.0, 0.05, 0.01};
    const int ranges[9][2] = {{10, 100}, {10, 100}, {10, 200}, {1, 1000}, {1, 1000},
                              {1, 1000}, {-300, 300}, {0, 100}, {0, 100}};
    for (int i = 0; i < 9; ++i) {
        const SliderRange& slider = boundsOf(paramField(i)).slider;
        EXPECT_EQ(steps[i], slider.step);
        EXPECT_EQ(ranges[i][0], slider.firstPosition());
        EXPECT_EQ(ranges[i][1], slider.lastPosition());
    }
}

TEST(ParameterTable, ParamRefersToTheFields)
{
    SuperFormula s(1, 2, 3, 4, 5, 6, 0);
    double* fields[] = {&s.a, &s.b, &s.m, &s.n1, &s.n2, &s.n3, &s.rotspeed, &s.eye, &s.border};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(fields[i], &s.param(i));
    EXPECT_EQ(&s.border, &s.param(9));
    EXPECT_EQ(&s.border, &s.param(-3));
    s.param(0) = 7;
    EXPECT_EQ(7.0, s.a);
}

TEST(ParameterTable, SetParamStepsScalesByTheStep)
{
    SuperFormula s(1, 2, 6, 4, 5, 6, 0);
    s.setParamSteps(0, 31);
    EXPECT_EQ(31 * 0.1, s.a);

    s.setParamSteps(6, -45);
    EXPECT_EQ(-45.0, s.rotspeed);
    s.setParamSteps(7, 20);
    EXPECT_EQ(1.0, s.eye);

    s.setParamSteps(2, 120);
    EXPECT_EQ(12.0, s.m);
    EXPECT_EQ(110, s.samples);

    s.setParamSteps(8, 25);
    EXPECT_EQ(25 * 0.01, s.border);
    s.setParamSteps(3, 7);
    s.setParamSteps(4, 8);
    s.setParamSteps(5, 9);
    s.setParamSteps(1, 15);
    EXPECT_EQ(7.0, s.n1);
    EXPECT_EQ(8.0, s.n2);
    EXPECT_EQ(9.0, s.n3);
    EXPECT_EQ(15 * 0.1, s.b);
}

TEST(ParameterTable, SetParamStepsIgnoresIndicesOutsideTheTable)
{
    SuperFormula s(1, 2, 6, 4, 5, 6, 0);
    s.setParamSteps(9, 50);
    s.setParamSteps(-1, 50);
    EXPECT_EQ(0.1, s.border);
}

TEST(Mutant, DrawsEveryFactorInOrder)
{
    SuperFormula p = parentShape();
    const double rate = 0.5;
    const double lo = 1 - rate;
    const double hi = 1 + rate;
    const std::vector<int> r = drawsAfterSeed(2024, 30);
    std::unique_ptr<SuperFormula> c(mutant(p, rate));

    const double formula[] = {p.a, p.b, p.m, p.n1, p.n2, p.n3};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(in(r[i], lo, hi) * formula[i], c->param(i)) << i;
    EXPECT_EQ(int(10 * c->m + 50), c->samples);
    for (int k = 0; k < 12; ++k) {
        const double v = in(r[6 + k], lo, hi) * p.colour[k / 4][k % 4];
        const float expected = v >= 1 ? 1.0f : v <= 0 ? 0.0f : float(v);
        EXPECT_EQ(expected, c->colour[k / 4][k % 4]) << k;
    }
    EXPECT_EQ(in(r[18], lo, hi) * p.border, c->border);
    EXPECT_EQ(in(r[19], lo, hi) * p.rotspeed, c->rotspeed);
    EXPECT_EQ(in(r[20], lo, hi) * p.eye, c->eye);
    EXPECT_EQ(in(r[21], lo, hi) * p.wander, c->wander);
    EXPECT_EQ(in(r[22], lo, hi) * p.speed, c->speed);
    EXPECT_EQ(p.position.x + in(r[23], -1, 1), c->position.x);
    EXPECT_EQ(p.position.y + in(r[24], -1, 1), c->position.y);
    const double theta = in(r[25], 0, 2 * pi);
    EXPECT_EQ(std::cos(theta), c->heading.x);
    EXPECT_EQ(-std::sin(theta), c->heading.y);
    EXPECT_EQ(r[26], shapeRandom()); // exactly 26 draws
    EXPECT_EQ(0.0, c->angle);
    EXPECT_EQ(1.0, c->blinkTime);
    EXPECT_FALSE(c->eyeClosed);
}

TEST(Mutant, AtRateZeroDiffersOnlyInPositionAndHeading)
{
    SuperFormula p = parentShape();
    seedShapeRandom(77);
    for (int n = 0; n < 20; ++n) {
        std::unique_ptr<SuperFormula> c(mutant(p, 0.0));
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(p.param(i), c->param(i)) << i;
        for (int k = 0; k < 12; ++k)
            EXPECT_EQ(p.colour[k / 4][k % 4], c->colour[k / 4][k % 4]);
        EXPECT_EQ(p.samples, c->samples);
        EXPECT_EQ(p.speed, c->speed);
        EXPECT_EQ(p.wander, c->wander);
        EXPECT_LE(std::fabs(c->position.x - p.position.x), 1);
        EXPECT_LE(std::fabs(c->position.y - p.position.y), 1);
        EXPECT_NEAR(1.0, std::hypot(c->heading.x, c->heading.y), 1e-12);
    }
}

TEST(Mutant, AtRateTwoClampsColoursAndFormulaButNotTheRest)
{
    SuperFormula p = parentShape();
    p.rotspeed = 0;
    const std::vector<int> r = drawsAfterSeed(31337, 26 * 400);
    bool sawFlippedSpeed = false;
    bool sawZeroA = false;
    for (int n = 0; n < 400; ++n) {
        std::unique_ptr<SuperFormula> c(mutant(p, 2.0));
        const int* d = &r[26 * n];
        for (int i = 0; i < 6; ++i) {
            const double f = in(d[i], -1, 3);
            EXPECT_EQ(f < 0 ? 0.0 : f * p.param(i), c->param(i));
        }
        sawZeroA = sawZeroA || c->a == 0;
        // colour 0 red is 0.8: factors of 1.25 or more give 1, of 0 or less give 0.
        const double f = in(d[6], -1, 3);
        if (f >= 1.25)
            EXPECT_EQ(1.0f, c->colour[0][0]);
        else if (f <= 0)
            EXPECT_EQ(0.0f, c->colour[0][0]);
        else
            EXPECT_EQ(float(f * double(0.8f)), c->colour[0][0]);
        for (int k = 0; k < 12; ++k) {
            EXPECT_GE(c->colour[k / 4][k % 4], 0.0f);
            EXPECT_LE(c->colour[k / 4][k % 4], 1.0f);
        }
        EXPECT_EQ(0.0, std::fabs(c->rotspeed));
        EXPECT_EQ(in(d[22], -1, 3) * p.speed, c->speed);
        EXPECT_EQ(in(d[18], -1, 3) * p.border, c->border);
        sawFlippedSpeed = sawFlippedSpeed || c->speed < 0;
    }
    EXPECT_TRUE(sawFlippedSpeed);
    EXPECT_TRUE(sawZeroA);
}

TEST(Mutant, ZeroSpeedStaysZero)
{
    SuperFormula p = parentShape();
    p.speed = 0;
    seedShapeRandom(4);
    for (int n = 0; n < 50; ++n) {
        std::unique_ptr<SuperFormula> c(mutant(p, 1.7));
        EXPECT_EQ(0.0, std::fabs(c->speed));
    }
}
