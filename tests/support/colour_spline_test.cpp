#include "support/colour_spline.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tex;

namespace {

// The world background's stops.
const double backgroundStops[] = {
    0.0,  0.5, 0.2, 0.4, 0.1,
    0.4,  0.5, 0.2, 0.4, 0.1,
    0.95, 0.8, 0.6, 0.2, 0.1,
    1.0,  0.5, 0.2, 0.4, 0.1,
};

ColourSpline backgroundSpline()
{
    ColourSpline spline;
    spline.setStops(backgroundStops, 4);
    return spline;
}

void expectNear(const Colour& c, double r, double g, double b, double a)
{
    EXPECT_NEAR(c.r, r, 0.00005);
    EXPECT_NEAR(c.g, g, 0.00005);
    EXPECT_NEAR(c.b, b, 0.00005);
    EXPECT_NEAR(c.a, a, 0.00005);
}

void expectExact(const Colour& c, double r, double g, double b, double a)
{
    EXPECT_EQ(c.r, r);
    EXPECT_EQ(c.g, g);
    EXPECT_EQ(c.b, b);
    EXPECT_EQ(c.a, a);
}

} // namespace

TEST(ColourSpline, WorkedExampleOfTheBackgroundStops)
{
    const ColourSpline spline = backgroundSpline();
    expectNear(spline.evaluate(0.2), 0.4605, 0.1474, 0.4263, 0.1);
    expectExact(spline.evaluate(0.95), 0.8, 0.6, 0.2, 0.1);
    // Overshoot from tangents that are not scaled by the segment width.
    expectNear(spline.evaluate(0.97), 1.2704, 1.2272, -0.1136, 0.1);
}

TEST(ColourSpline, FollowsTheHermiteFormulaToTheLastBit)
{
    const ColourSpline spline = backgroundSpline();
    const double x = 0.2;
    // Segment 0: P0 = P1 = stop 0, P2 = stop 1, P3 = stop 2.
    const double t = (x - 0.0) / (0.4 - 0.0);
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double h00 = 2 * t3 - 3 * t2 + 1;
    const double h10 = t3 - 2 * t2 + t;
    const double h01 = -2 * t3 + 3 * t2;
    const double h11 = t3 - t2;
    const double m1r = (0.5 - 0.5) * (1 / (0.4 - 0.0));
    const double m2r = (0.8 - 0.5) * (1 / (0.95 - 0.0));
    const double m2b = (0.2 - 0.4) * (1 / (0.95 - 0.0));
    const Colour c = spline.evaluate(x);
    EXPECT_EQ(c.r, 0.5 * h00 + m1r * h10 + 0.5 * h01 + m2r * h11);
    EXPECT_EQ(c.b, 0.4 * h00 + m1r * h10 + 0.4 * h01 + m2b * h11);
}

TEST(ColourSpline, StopsAndEndsGiveStopColoursExactly)
{
    const ColourSpline spline = backgroundSpline();
    expectExact(spline.evaluate(-5), 0.5, 0.2, 0.4, 0.1);
    expectExact(spline.evaluate(0.0), 0.5, 0.2, 0.4, 0.1);
    expectExact(spline.evaluate(0.4), 0.5, 0.2, 0.4, 0.1);
    expectExact(spline.evaluate(1.0), 0.5, 0.2, 0.4, 0.1);
    expectExact(spline.evaluate(7.0), 0.5, 0.2, 0.4, 0.1);
}

TEST(ColourSpline, LastSegmentReusesItsEndAsFourthNeighbour)
{
    const double table[] = {
        0.0, 0.0, 0.0, 0.0, 0.0,
        1.0, 1.0, 1.0, 1.0, 1.0,
    };
    ColourSpline spline;
    spline.setStops(table, 2);
    // Both tangents are 1, so the curve is the straight line c = x.
    const Colour c = spline.evaluate(0.25);
    EXPECT_DOUBLE_EQ(c.r, 0.25);
    EXPECT_DOUBLE_EQ(c.a, 0.25);
}

TEST(ColourSpline, SetStopsReplacesAndKeepsOrder)
{
    ColourSpline spline = backgroundSpline();
    ASSERT_EQ(spline.stops().size(), 4u);
    EXPECT_EQ(spline.stops()[2].position, 0.95);
    EXPECT_EQ(spline.stops()[2].colour.g, 0.6);

    const double unsorted[] = {
        0.7, 0.1, 0.2, 0.3, 0.4,
        0.2, 0.5, 0.6, 0.7, 0.8,
    };
    spline.setStops(unsorted, 2);
    ASSERT_EQ(spline.stops().size(), 2u);
    EXPECT_EQ(spline.stops()[0].position, 0.7);
    EXPECT_EQ(spline.stops()[1].colour.a, 0.8);

    spline.setStops(backgroundStops, 0);
    EXPECT_TRUE(spline.stops().empty());
    spline.setStops(backgroundStops, 2);
    spline.setStops(nullptr, -3);
    EXPECT_TRUE(spline.stops().empty());
}

TEST(ColourSpline, OutOfContractSplinesStayFinite)
{
    ColourSpline spline;
    expectExact(spline.evaluate(0.5), 0, 0, 0, 0);

    spline.setStops(backgroundStops + 10, 1);
    expectExact(spline.evaluate(-1), 0.8, 0.6, 0.2, 0.1);
    expectExact(spline.evaluate(0.5), 0.8, 0.6, 0.2, 0.1);

    const double sameSpot[] = {
        0.5, 0.1, 0.2, 0.3, 0.4,
        0.5, 0.9, 0.8, 0.7, 0.6,
        1.0, 0.0, 0.0, 0.0, 0.0,
    };
    spline.setStops(sameSpot, 3);
    expectExact(spline.evaluate(0.2), 0.1, 0.2, 0.3, 0.4);
    const Colour inside = spline.evaluate(0.75);
    EXPECT_TRUE(std::isfinite(inside.r) && std::isfinite(inside.a));
}

// A field gone wrong can hand the lookup a NaN; the stop search must end
// inside the stops (it once ran past the end) and the colour is the first
// stop's, as below the first stop.
TEST(ColourSpline, NotANumberStaysInsideTheStops)
{
    const ColourSpline spline = backgroundSpline();
    expectExact(spline.evaluate(std::nan("")), 0.5, 0.2, 0.4, 0.1);
}
