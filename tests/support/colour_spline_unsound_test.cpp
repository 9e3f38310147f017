// What the colour spline makes of positions and stops that are not
// numbers, or numbers its curve cannot take: always a colour without NaN.

#include "support/colour_spline.h"
#include "support/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace tex;

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

bool same(const Colour& a, const Colour& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

bool hasNaN(const Colour& c)
{
    return std::isnan(c.r) || std::isnan(c.g) || std::isnan(c.b) || std::isnan(c.a);
}

const double threeStops[] = {
    0.0, 0.1, 0.2, 0.3, 1.0,
    0.5, 0.9, 0.5, 0.1, 1.0,
    1.0, 0.4, 0.8, 0.6, 0.5,
};

TEST(ColourSplineUnsound, NaNPositionGivesTheFirstStopsColour)
{
    ColourSpline spline;
    spline.setStops(threeStops, 3);
    EXPECT_TRUE(same(spline.evaluate(nan), Colour(0.1, 0.2, 0.3, 1.0)));
    EXPECT_TRUE(same(spline.evaluate(-inf), Colour(0.1, 0.2, 0.3, 1.0)));
    EXPECT_TRUE(same(spline.evaluate(inf), Colour(0.4, 0.8, 0.6, 0.5)));
}

TEST(ColourSplineUnsound, StopsWithoutAPositionAreLeftOutAndOtherComponentsMadeFinite)
{
    const double table[] = {
        nan,  1.0, 1.0, 1.0, 1.0,
        0.0,  0.1, 0.2, 0.3, 1.0,
        inf,  1.0, 1.0, 1.0, 1.0,
        0.5,  0.9, 0.5, 0.1, 1.0,
        -inf, 1.0, 1.0, 1.0, 1.0,
        1.0,  0.4, 0.8, 0.6, 0.5,
    };
    ColourSpline sparse;
    sparse.setStops(table, 6);
    ColourSpline dense;
    dense.setStops(threeStops, 3);
    ASSERT_EQ(sparse.stops().size(), 3u);
    for (int i = 0; i <= 40; ++i)
        EXPECT_TRUE(same(sparse.evaluate(i * 0.03 - 0.1), dense.evaluate(i * 0.03 - 0.1))) << i;

    // A component that is not finite is stored as a bake would store it.
    const double odd[] = {
        0.0, inf,  -inf, nan, 0.25,
        1.0, -inf, nan,  inf, 0.75,
    };
    ColourSpline spline;
    spline.setStops(odd, 2);
    EXPECT_TRUE(same(spline.stops()[0].colour, Colour(1, 0, 0, 0.25)));
    EXPECT_TRUE(same(spline.stops()[1].colour, Colour(0, 0, 1, 0.75)));
    EXPECT_FALSE(hasNaN(spline.evaluate(0.5)));

    // With fewer than two stops left, the contract for short splines holds.
    const double lone[] = {nan, 1, 1, 1, 1, 0.5, 0.2, 0.4, 0.6, 0.8};
    spline.setStops(lone, 2);
    EXPECT_TRUE(same(spline.evaluate(0.0), Colour(0.2, 0.4, 0.6, 0.8)));
    spline.setStops(lone, 1);
    EXPECT_TRUE(spline.stops().empty());
    EXPECT_TRUE(same(spline.evaluate(0.0), Colour(0, 0, 0, 0)));
}

TEST(ColourSplineUnsound, OverflowingTangentsGiveTheStraightBlend)
{
    // The neighbours of the segment from 2^-1030 to 2^-1029 span 2^-1029:
    // the tangent's reciprocal is infinite, and 0 * inf made the curve NaN.
    const double a = std::ldexp(1.0, -1030);
    const double narrow[] = {
        0.0,   0.5, 0.5, 0.5, 0.5,
        a,     0.9, 0.1, 0.3, 0.7,
        2 * a, 0.5, 0.5, 0.5, 0.5,
        1.0,   0.2, 0.2, 0.2, 0.2,
    };
    ColourSpline spline;
    spline.setStops(narrow, 4);
    EXPECT_TRUE(same(spline.evaluate(1.5 * a), lerp(Colour(0.9, 0.1, 0.3, 0.7), Colour(0.5, 0.5, 0.5, 0.5), 0.5)));

    // Components near the largest double overflow their differences.
    const double big = std::numeric_limits<double>::max();
    const double huge[] = {
        0.0, big,  -big, 0, 1,
        0.5, -big, big,  0, 1,
        1.0, big,  -big, 0, 1,
    };
    spline.setStops(huge, 3);
    for (double x : {0.1, 0.25, 0.5, 0.75, 0.9})
        EXPECT_FALSE(hasNaN(spline.evaluate(x))) << x;
}

TEST(ColourSplineUnsound, NoTableOfExtremeNumbersGivesNaN)
{
    const double big = std::numeric_limits<double>::max();
    const double positions[] = {0.0, -0.0, 1e-310, -1e-310, 1.0, -1.0, big, -big, 1e300, 0.5, inf, nan};
    const double components[] = {0.0, 1.0, -1.0, big, -big, 1e300, 1e-310, inf, -inf, nan};
    Random r(17);
    auto pick = [&r](const double* from, int count) { return from[static_cast<int>(r.nextDouble() * count)]; };
    for (int round = 0; round < 3000; ++round) {
        const int count = 1 + static_cast<int>(r.nextDouble() * 5);
        std::vector<double> table;
        for (int k = 0; k < count; ++k) {
            table.push_back(pick(positions, 12));
            for (int c = 0; c < 4; ++c)
                table.push_back(pick(components, 10));
        }
        ColourSpline spline;
        spline.setStops(table.data(), count);
        for (int i = 0; i < 8; ++i) {
            const double x = pick(positions, 12);
            ASSERT_FALSE(hasNaN(spline.evaluate(x))) << round << " at " << x;
        }
    }
}

} // namespace
