#include "texture/scalar/voronoi.h"

#include "support/random.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

using namespace tex;

namespace {

std::uint32_t cellHash(int x, int y, int z, int mask)
{
    return std::uint32_t(x & mask) * 702395077u + std::uint32_t(y & mask) * 915488749u
        + std::uint32_t(z & mask) * 2120969693u;
}

const double nothing = std::sqrt(999999.0);

TEST(Voronoi, CountTableFollowsThePoissonLimitsForDensityOneAndAHalf)
{
    const double limits[5] = {0.22313, 0.55783, 0.97619, 1.46429, 2.01340};
    for (int seed : {1, 2, 777}) {
        const Voronoi field(seed, 256, 1.5);
        Random draws(seed);
        int seen[6] = {};
        for (int j = 0; j < 256; ++j) {
            const double u = draws.nextFloat();
            const int count = field.countForTopByte(j);
            ASSERT_LE(count, 3) << "no cell holds more than 3 points at density 1.5";
            ++seen[count];
            bool nearLimit = false;
            int expected = 0;
            while (expected < 5 && !(u < limits[expected]))
                ++expected;
            for (double limit : limits)
                nearLimit = nearLimit || std::fabs(u - limit) < 1e-5;
            if (!nearLimit) {
                EXPECT_EQ(count, expected) << "u = " << u;
            }
        }
        for (int count = 0; count <= 3; ++count)
            EXPECT_GT(seen[count], 0) << count;
    }
}

TEST(Voronoi, HighDensityFillsCellsUpToFivePoints)
{
    const Voronoi field(3, 256, 20.0);
    for (int j = 0; j < 256; ++j)
        EXPECT_EQ(field.countForTopByte(j), 5);
}

TEST(Voronoi, SameSeedGivesTheSameFieldAndOtherSeedsOnlyOtherCounts)
{
    Voronoi a(11, 256, 1.5), b(11, 256, 1.5), c(12, 256, 1.5);
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> coordinate(-50, 50);
    for (int i = 0; i < 300; ++i) {
        const double x = coordinate(gen), y = coordinate(gen), z = coordinate(gen);
        ASSERT_EQ(a.value(x, y, z), b.value(x, y, z));
        ASSERT_EQ(a.nearestId(x, y, z), b.nearestId(x, y, z));
    }
    // A feature point of a cell that both objects fill with the same count
    // lies in the same place in both.
    int compared = 0;
    for (int cx = 0; cx < 40 && compared < 10; ++cx) {
        const std::uint32_t h = cellHash(cx, 2, -3, 255);
        if (a.countForTopByte(h >> 24) == 0 || a.countForTopByte(h >> 24) != c.countForTopByte(h >> 24))
            continue;
        Random random(0);
        random.seed(h);
        const double px = cx + double(random.nextFloat());
        const double py = 2 + double(random.nextFloat());
        const double pz = -3 + double(random.nextFloat());
        EXPECT_EQ(a.nthDistance(px, py, pz, 1), 0.0);
        EXPECT_EQ(c.nthDistance(px, py, pz, 1), 0.0);
        EXPECT_EQ(a.nearestId(px, py, pz), c.nearestId(px, py, pz));
        ++compared;
    }
    EXPECT_EQ(compared, 10);
}

TEST(Voronoi, FeaturePointGivesTheBottomOfTheRangeAndItsIdentifier)
{
    Voronoi field(21, 256, 1.5);
    int found = 0;
    for (int cx = -20; cx < 20 && found < 5; ++cx) {
        const std::uint32_t h = cellHash(cx, -7, 9, 255);
        const int count = field.countForTopByte(h >> 24);
        if (count < 2)
            continue;
        Random random(0);
        random.seed(h);
        double point[2][3];
        for (auto& p : point)
            for (int axis = 0; axis < 3; ++axis)
                p[axis] = random.nextFloat();
        const std::uint32_t r = random.firstStateWord();
        const double x1 = cx + point[0][0], y1 = -7 + point[0][1], z1 = 9 + point[0][2];
        const double x2 = cx + point[1][0], y2 = -7 + point[1][1], z2 = 9 + point[1][2];
        EXPECT_EQ(field.value(x1, y1, z1), 0.01);
        EXPECT_EQ(field.nthDistance(x1, y1, z1, 1), 0.0);
        EXPECT_EQ(field.nearestId(x1, y1, z1), h + r) << "the first point of a cell is h + r";
        EXPECT_EQ(field.nearestId(x2, y2, z2), r + r) << "later points are 2r";
        ++found;
    }
    EXPECT_EQ(found, 5);
}

TEST(Voronoi, RepeatsWithItsSizeOnEveryAxis)
{
    for (int size : {256, 16}) {
        Voronoi field(8, size, 1.5);
        field.setParameter("xscale", 0.5);
        field.setParameter("yscale", 0.5);
        field.setParameter("zscale", 0.5);
        std::mt19937 gen(size);
        // Multiples of 1/1024, so that shifting by the period is exact.
        std::uniform_int_distribution<int> grid(-100 * 1024, 100 * 1024);
        for (int i = 0; i < 200; ++i) {
            const double p[3] = {grid(gen) / 1024.0, grid(gen) / 1024.0, grid(gen) / 1024.0};
            for (int axis = 0; axis < 3; ++axis) {
                double q[3] = {p[0], p[1], p[2]};
                q[axis] -= size;
                double scaled[3] = {p[0], p[1], p[2]};
                scaled[axis] += 2 * size;
                ASSERT_EQ(field.value(p[0], p[1], p[2]), field.value(scaled[0], scaled[1], scaled[2]));
                ASSERT_EQ(field.nearestId(p[0], p[1], p[2]), field.nearestId(q[0], q[1], q[2]));
                ASSERT_EQ(field.distanceGap(p[0], p[1], p[2]), field.distanceGap(q[0], q[1], q[2]));
            }
        }
    }
}

TEST(Voronoi, QueriesAgreeWithEachOther)
{
    Voronoi field(31, 256, 1.5);
    std::mt19937 gen(31);
    std::uniform_real_distribution<double> coordinate(-300, 300);
    for (int i = 0; i < 500; ++i) {
        const double x = coordinate(gen), y = coordinate(gen), z = coordinate(gen);
        const double f1 = field.nthDistance(x, y, z, 1);
        const double f2 = field.nthDistance(x, y, z, 2);
        ASSERT_EQ(field.value(x, y, z), std::min(0.99, std::max(0.01, (f1 - 0.5) * 1.0 + 0.5)));
        ASSERT_EQ(field.distanceGap(x, y, z), f2 - f1);
        ASSERT_GE(field.distanceGap(x, y, z), 0.0);
        double previous = 0.0;
        for (int n = 1; n <= 6; ++n) {
            const double d = field.nthDistance(x, y, z, n);
            ASSERT_GE(d, previous);
            previous = d;
        }
        ASSERT_NE(field.nearestId(x, y, z), 0u);
    }
}

TEST(Voronoi, ScalesApplyToValueAndNthDistanceOnly)
{
    Voronoi scaled(4, 256, 1.5), plain(4, 256, 1.5);
    scaled.setParameter("xscale", 2.0);
    scaled.setParameter("yscale", 3.0);
    for (double x : {0.3, 1.7, -4.25}) {
        EXPECT_EQ(scaled.value(x, 0.5, 2.0), plain.value(2 * x, 1.5, 2.0));
        EXPECT_EQ(scaled.nthDistance(x, 0.5, 2.0, 3), plain.nthDistance(2 * x, 1.5, 2.0, 3));
        EXPECT_EQ(scaled.nearestId(x, 0.5, 2.0), plain.nearestId(x, 0.5, 2.0));
        EXPECT_EQ(scaled.distanceGap(x, 0.5, 2.0), plain.distanceGap(x, 0.5, 2.0));
    }
    scaled.setParameter("contrast", 0.0);
    EXPECT_EQ(scaled.value(0.3, 0.2, 0.1), 0.5);
}

TEST(Voronoi, EmptyNeighbourhoodGivesTheTopOfTheRangeNoGapAndNoIdentifier)
{
    Voronoi field(6, 256, 1e-9);
    for (int j = 0; j < 256; ++j)
        ASSERT_EQ(field.countForTopByte(j), 0);
    EXPECT_EQ(field.value(1.5, 2.5, 3.5), 0.99);
    EXPECT_EQ(field.distanceGap(1.5, 2.5, 3.5), 0.0);
    EXPECT_EQ(field.nearestId(1.5, 2.5, 3.5), 0u);
    EXPECT_EQ(field.nthDistance(1.5, 2.5, 3.5, 1), nothing);
}

TEST(Voronoi, EquidistantPointsKeepTheOneOfferedFirst)
{
    // Size 1: every cell holds copies of the same points, from the hash 0.
    // Midway between point A and the copy of point B nearest to it, both are
    // at exactly the same distance and nearer than any other copy.
    int tested = 0;
    for (int seed = 1; seed < 400 && tested < 8; ++seed) {
        Voronoi field(seed, 1, 2.0);
        if (field.countForTopByte(0) != 2)
            continue;
        Random random(0);
        double a[3], b[3];
        for (double& c : a)
            c = random.nextFloat();
        for (double& c : b)
            c = random.nextFloat();
        const std::uint32_t r = random.firstStateWord();
        const std::uint32_t idA = 0 + r, idB = r + r;
        int w[3], cellA[3], cellB[3], home[3];
        double q[3];
        for (int axis = 0; axis < 3; ++axis) {
            w[axis] = int(std::lround(a[axis] - b[axis]));
            q[axis] = (a[axis] + b[axis] + w[axis]) / 2;
            cellA[axis] = int(std::floor(a[axis]));
            cellB[axis] = int(std::floor(b[axis] + w[axis]));
            home[axis] = int(std::floor(q[axis]));
        }
        // Visiting order: the home cell, then neighbours in (i, j, k) order.
        auto order = [&](const int* cell) {
            if (cell[0] == home[0] && cell[1] == home[1] && cell[2] == home[2])
                return -1;
            return (cell[0] - home[0] + 1) * 9 + (cell[1] - home[1] + 1) * 3 + (cell[2] - home[2] + 1);
        };
        const std::uint32_t expected = order(cellA) <= order(cellB) ? idA : idB;
        EXPECT_EQ(field.nearestId(q[0], q[1], q[2]), expected) << "seed " << seed;
        EXPECT_EQ(field.distanceGap(q[0], q[1], q[2]), 0.0);
        ++tested;
    }
    EXPECT_EQ(tested, 8);
}

TEST(Voronoi, OutOfContractRanksAreSafe)
{
    Voronoi field(2, 256, 1.5);
    EXPECT_EQ(field.nthDistance(0.5, 0.5, 0.5, 0), 0.0);
    EXPECT_EQ(field.nthDistance(0.5, 0.5, 0.5, -4), 0.0);
    EXPECT_EQ(field.nthDistance(0.5, 0.5, 0.5, INT_MIN), 0.0);
    EXPECT_EQ(field.nthDistance(0.5, 0.5, 0.5, Voronoi::maxKept + 1), nothing);
    EXPECT_EQ(field.nthDistance(0.5, 0.5, 0.5, INT_MAX), nothing);
    // Even at the densest, 27 cells hold at most maxKept points.
    Voronoi dense(2, 256, 50.0);
    EXPECT_LT(dense.nthDistance(0.5, 0.5, 0.5, Voronoi::maxKept), nothing);
}

TEST(Voronoi, SizesThatAreNotPowersOfTwoAreRoundedDown)
{
    EXPECT_EQ(Voronoi(1, 256, 1.5).latticeSize(), 256);
    EXPECT_EQ(Voronoi(1, 100, 1.5).latticeSize(), 64);
    EXPECT_EQ(Voronoi(1, 3, 1.5).latticeSize(), 2);
    EXPECT_EQ(Voronoi(1, 1, 1.5).latticeSize(), 1);
    EXPECT_EQ(Voronoi(1, 0, 1.5).latticeSize(), 1);
    EXPECT_EQ(Voronoi(1, -8, 1.5).latticeSize(), 1);
    EXPECT_EQ(Voronoi(1, INT_MAX, 1.5).latticeSize(), 1 << 30);
    Voronoi odd(1, 100, 1.5);
    EXPECT_EQ(odd.nearestId(3.25, 7.5, -2.75), odd.nearestId(3.25 + 64, 7.5, -2.75));
    EXPECT_EQ(odd.value(3.25, 7.5, -2.75), odd.value(3.25, 7.5 - 64, -2.75));
}

TEST(Voronoi, AnswersDoNotDependOnEarlierQueries)
{
    Voronoi used(13, 256, 1.5), fresh(13, 256, 1.5);
    std::mt19937 gen(13);
    std::uniform_real_distribution<double> coordinate(-1000, 1000);
    for (int i = 0; i < 3000; ++i)
        used.distanceGap(coordinate(gen), coordinate(gen), coordinate(gen));
    for (int i = 0; i < 200; ++i) {
        const double x = coordinate(gen), y = coordinate(gen), z = coordinate(gen);
        ASSERT_EQ(used.nthDistance(x, y, z, 3), fresh.nthDistance(x, y, z, 3));
        ASSERT_EQ(fresh.nearestId(x, y, z), used.nearestId(x, y, z));
    }
}

TEST(Voronoi, HasOnlyTheBasisParametersAndNoInputs)
{
    Voronoi field(1, 256, 1.5);
    EXPECT_EQ(&field.parameters(), &Basis::parameterList());
    EXPECT_EQ(field.findParameter("octaves"), nullptr);
    EXPECT_EQ(field.getParameter("contrast"), 1.0);
    EXPECT_EQ(field.inputCount(), 0);
    EXPECT_TRUE(field.inputsReady());
    Voronoi clocked(256, 1.5);
    EXPECT_EQ(clocked.latticeSize(), 256);
    EXPECT_GE(clocked.value(1.5, 1.5, 1.5), 0.01);
}

} // namespace
