// Voronoi at every finite coordinate, however far, and at the unsound ones.
#include "texture/scalar/voronoi.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <random>

using namespace tex;

namespace {

const double nothing = std::sqrt(999999.0);
const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

// Points far beyond the int range, up to the largest finite doubles (the
// tests round them down to multiples of the period).
const double farShifts[] = {2147483648.0, 3e9, -3e9, 4294967296.0 * 3, 1e15, -1e15, 9007199254740992.0,
                            -4.5e18, 1e300, DBL_MAX, -DBL_MAX};

// A point of the first period whose shift by `shift` is exact: its
// coordinates are multiples of the shift's unit in the last place.
double onGridOf(double shift, double u, int size)
{
    const double ulp = std::nextafter(std::fabs(shift), inf) - std::fabs(shift);
    if (ulp >= size)
        return 0.0;
    return std::floor(u * size / ulp) * ulp;
}

TEST(VoronoiFarPoints, EveryQueryFollowsThePeriodFarBeyondTheIntRange)
{
    for (int size : {256, 16, 1 << 30}) {
        Voronoi field(42, size, 1.5);
        std::mt19937 gen(size);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (double far : farShifts) {
            // A multiple of the period that keeps every shifted point of the
            // first period beyond the int range.
            double shift = far - std::fmod(far, size);
            if (shift < 0 && shift > -2147483648.0 - size)
                shift -= size;
            for (int trial = 0; trial < 20; ++trial) {
                double p[3];
                for (double& c : p)
                    c = onGridOf(shift, unit(gen), size);
                for (int axis = 0; axis < 3; ++axis) {
                    double q[3] = {p[0], p[1], p[2]};
                    q[axis] += shift;
                    ASSERT_EQ(q[axis] - shift, p[axis]) << "the shifted point is exact";
                    const std::uint32_t id = field.nearestId(p[0], p[1], p[2]);
                    EXPECT_NE(id, 0u);
                    EXPECT_EQ(field.nearestId(q[0], q[1], q[2]), id) << size << " " << shift << " " << axis;
                    EXPECT_EQ(field.distanceGap(q[0], q[1], q[2]), field.distanceGap(p[0], p[1], p[2]));
                    EXPECT_EQ(field.value(q[0], q[1], q[2]), field.value(p[0], p[1], p[2]));
                    EXPECT_EQ(field.nthDistance(q[0], q[1], q[2], 4), field.nthDistance(p[0], p[1], p[2], 4));
                }
            }
        }
    }
}

TEST(VoronoiFarPoints, BeyondTheIntRangeIsThePeriodAgainNotAnEmptyPattern)
{
    Voronoi field(7, 256, 1.5);
    // 2^31 is 0 modulo 256, and -2^31 - 0.5 is 255.5.
    EXPECT_EQ(field.nearestId(0.25, 2147483648.0, 0.5), field.nearestId(0.25, 0.0, 0.5));
    EXPECT_NE(field.nearestId(0.25, 2147483648.0, 0.5), 0u);
    EXPECT_EQ(field.distanceGap(-2147483648.5, 3.0, 1.0), field.distanceGap(255.5, 3.0, 1.0));
    // Scaling a point far away follows the period too.
    field.setParameter("xscale", 1e12);
    EXPECT_EQ(field.value(1.0, 0.5, 0.5), field.value(0.0, 0.5, 0.5));
}

TEST(VoronoiFarPoints, TheOutermostCellsOfTheIntRangeReachTheirNeighboursBeyondIt)
{
    // The home cells INT_MAX and INT_MIN have a neighbour outside the int
    // range on one side. Their coordinates round the feature points to a
    // 2^-22 grid, so they agree with the same place in the first period only
    // to that precision.
    Voronoi field(5, 256, 1.5);
    const double edges[][2] = {{2147483647.5, 255.5}, {2147483647.875, 255.875}, {-2147483647.5, 0.5},
                               {-2147483647.875, 0.125}};
    for (const auto& edge : edges) {
        for (double y : {0.0, 0.5, 0.999}) {
            EXPECT_NEAR(field.nthDistance(edge[0], y, 7.25, 1), field.nthDistance(edge[1], y, 7.25, 1), 1e-6);
            EXPECT_NEAR(field.nthDistance(edge[0], y, 7.25, 3), field.nthDistance(edge[1], y, 7.25, 3), 1e-6);
            EXPECT_NEAR(field.distanceGap(y, edge[0], 7.25), field.distanceGap(y, edge[1], 7.25), 1e-6);
        }
    }
}

// What a query answers where it finds no feature point.
void expectNothingFound(Voronoi& field, double x, double y, double z)
{
    EXPECT_EQ(field.value(x, y, z), field.applyContrast(nothing)) << x << " " << y << " " << z;
    EXPECT_EQ(field.nthDistance(x, y, z, 1), nothing);
    EXPECT_EQ(field.nthDistance(x, y, z, 5), nothing);
    EXPECT_EQ(field.nthDistance(x, y, z, 0), 0.0) << "out-of-contract ranks keep their answer";
}

// The same for every query, with `unsound` on each axis in turn.
void expectNothingFoundWith(Voronoi& field, double unsound)
{
    for (int axis = 0; axis < 3; ++axis) {
        double p[3] = {1.5, 2.5, 3.5};
        p[axis] = unsound;
        expectNothingFound(field, p[0], p[1], p[2]);
        EXPECT_EQ(field.nearestId(p[0], p[1], p[2]), 0u);
        EXPECT_EQ(field.distanceGap(p[0], p[1], p[2]), 0.0);
    }
}

TEST(VoronoiUnsoundPoints, NaNOnAnyAxisFindsNoFeaturePoint)
{
    Voronoi field(9, 256, 1.5);
    expectNothingFoundWith(field, nan);
    EXPECT_EQ(field.value(nan, nan, nan), 0.99);
}

TEST(VoronoiUnsoundPoints, InfinityOnAnyAxisFindsNoFeaturePoint)
{
    Voronoi field(9, 256, 1.5);
    expectNothingFoundWith(field, inf);
    expectNothingFoundWith(field, -inf);
    // The answer is the contrast stage of the empty search at every contrast.
    field.setParameter("contrast", 0.0);
    EXPECT_EQ(field.value(inf, 0.0, 0.0), 0.5);
    field.setParameter("contrast", -1.0);
    EXPECT_EQ(field.value(inf, 0.0, 0.0), 0.01);
}

TEST(VoronoiUnsoundPoints, ScalesThatMakeAPointUnsoundFindNothingWhereTheyApply)
{
    Voronoi field(9, 256, 1.5);
    // A finite point scaled beyond the largest double, and 0 times infinity.
    field.setParameter("xscale", 10.0);
    expectNothingFound(field, 1e308, 0.5, 0.5);
    // nearestId and distanceGap take the point unscaled: it is finite and far.
    EXPECT_EQ(field.nearestId(1e308, 0.5, 0.5), field.nearestId(std::fmod(1e308, 256.0), 0.5, 0.5));
    EXPECT_NE(field.nearestId(1e308, 0.5, 0.5), 0u);
    field.setParameter("xscale", 1.0);
    field.setParameter("zscale", 0.0);
    expectNothingFound(field, 0.5, 0.5, inf);
    EXPECT_LT(field.nthDistance(0.5, 0.5, 1e300, 1), nothing) << "0 times a finite coordinate is 0";
}

} // namespace
