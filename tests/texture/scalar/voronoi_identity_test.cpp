// Voronoi computes cells directly and caches them; these tests hold it to
// the plain reseed-per-cell reading bit for bit.
#include "support/simd/dispatch.h"
#include "tests/texture/scalar/voronoi_reference.h"
#include "texture/scalar/voronoi.h"
#include "texture/scalar/voronoi_cell.h"
#include "texture/scalar/voronoi_draws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace tex;

namespace {

struct Point {
    double x, y, z;
};

// Scattered points across several lattice periods and both signs, bake-like
// rows that revisit the same cells, and points on cell faces and corners.
std::vector<Point> queryPoints(unsigned seed, int scattered)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> wide(-600.0, 600.0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Point> points;
    for (int i = 0; i < scattered; ++i)
        points.push_back({wide(gen), wide(gen), wide(gen)});
    for (int r = 0; r < 24; ++r)
        for (int c = 0; c < 24; ++c)
            points.push_back({-3.0 + c * 0.3125, 5.0 + r * 0.3125, 0.0});
    for (int i = 0; i < 200; ++i) {
        const double base = std::floor(wide(gen));
        points.push_back({base, base + std::floor(unit(gen) * 3), unit(gen) < 0.5 ? base : base + 0.5});
    }
    // A hair inside or outside a cell face, where rounding decides visits.
    for (int i = 0; i < 200; ++i) {
        const double base = std::floor(wide(gen));
        const double hair = i % 2 ? 1e-13 : -1e-13;
        points.push_back({base + hair, base + 0.5 + unit(gen) * 0.1, base - hair});
    }
    return points;
}

struct Config {
    int seed;
    int size;
    double density;
};

class VoronoiIdentity : public ::testing::TestWithParam<Config> {};

TEST_P(VoronoiIdentity, EveryQueryMatchesThePlainReading)
{
    const Config config = GetParam();
    Voronoi fast(config.seed, config.size, config.density);
    ReferenceVoronoi plain(config.seed, config.size, config.density);
    const std::vector<Point> points = queryPoints(unsigned(config.seed) * 7919u + unsigned(config.size), 1500);
    const int ns[] = {1, 2, 3, 5, 12, 40, 135};
    for (const Point& p : points) {
        ASSERT_EQ(fast.value(p.x, p.y, p.z), plain.value(p.x, p.y, p.z)) << p.x << " " << p.y << " " << p.z;
        ASSERT_EQ(fast.nearestId(p.x, p.y, p.z), plain.nearestId(p.x, p.y, p.z)) << p.x << " " << p.y << " " << p.z;
        ASSERT_EQ(fast.distanceGap(p.x, p.y, p.z), plain.distanceGap(p.x, p.y, p.z)) << p.x << " " << p.y << " " << p.z;
    }
    for (size_t i = 0; i < points.size(); i += 7) {
        const Point& p = points[i];
        for (int n : ns)
            ASSERT_EQ(fast.nthDistance(p.x, p.y, p.z, n), plain.nthDistance(p.x, p.y, p.z, n)) << n;
    }
}

TEST_P(VoronoiIdentity, ScaledValuesMatchThePlainReading)
{
    const Config config = GetParam();
    Voronoi fast(config.seed, config.size, config.density);
    ReferenceVoronoi plain(config.seed, config.size, config.density);
    for (Basis* field : {static_cast<Basis*>(&fast), static_cast<Basis*>(&plain)}) {
        field->setParameter("xscale", 0.37);
        field->setParameter("yscale", 2.5);
        field->setParameter("zscale", -1.25);
        field->setParameter("contrast", 0.8);
    }
    for (const Point& p : queryPoints(unsigned(config.seed), 300)) {
        ASSERT_EQ(fast.value(p.x, p.y, p.z), plain.value(p.x, p.y, p.z));
        ASSERT_EQ(fast.nthDistance(p.x, p.y, p.z, 2), plain.nthDistance(p.x, p.y, p.z, 2));
    }
}

INSTANTIATE_TEST_SUITE_P(SeedsSizesDensities, VoronoiIdentity,
                         ::testing::Values(Config{1, 256, 1.5}, Config{-77, 256, 1.5}, Config{12345, 16, 1.5},
                                           Config{9, 1, 1.5}, Config{31337, 2, 2.5}, Config{4, 256, 0.3},
                                           Config{2024, 64, 4.0}, Config{606, 8, 9.0}, Config{5, 256, 0.001}));

TEST(VoronoiIdentity, SymmetricTiesMatchThePlainReading)
{
    // With size 1 every cell holds the same points, so the midpoint between a
    // point and a copy of another lies at exactly equal distances.
    for (int seed = 1; seed <= 40; ++seed) {
        Voronoi fast(seed, 1, 2.0);
        ReferenceVoronoi plain(seed, 1, 2.0);
        Random random(0);
        const double a[3] = {random.nextFloat(), random.nextFloat(), random.nextFloat()};
        const double b[3] = {random.nextFloat(), random.nextFloat(), random.nextFloat()};
        for (int w = -1; w <= 1; ++w) {
            const double q[3] = {(a[0] + b[0] + w) / 2, (a[1] + b[1]) / 2, (a[2] + b[2] - w) / 2};
            ASSERT_EQ(fast.nearestId(q[0], q[1], q[2]), plain.nearestId(q[0], q[1], q[2]));
            ASSERT_EQ(fast.distanceGap(q[0], q[1], q[2]), plain.distanceGap(q[0], q[1], q[2]));
            ASSERT_EQ(fast.nthDistance(q[0], q[1], q[2], 4), plain.nthDistance(q[0], q[1], q[2], 4));
        }
    }
}

TEST(VoronoiCell, MatchesAGeneratorReseededWithTheHash)
{
    std::mt19937 gen(99);
    for (int trial = 0; trial < 400; ++trial) {
        const std::uint32_t h = trial < 3 ? std::uint32_t(trial) : gen();
        const int count = 1 + trial % VoronoiCell::maxPoints;
        VoronoiCell cell;
        cell.generate(h, count);
        ASSERT_EQ(cell.count, count);
        ASSERT_EQ(cell.hash, h);
        Random random(0);
        random.seed(h);
        std::uint32_t previous = random.firstStateWord();
        for (int k = 0; k < count; ++k) {
            for (int axis = 0; axis < 3; ++axis)
                ASSERT_EQ(cell.offset[k][axis], random.nextFloat());
            const std::uint32_t id = previous + random.firstStateWord();
            previous = random.firstStateWord();
            ASSERT_EQ(k == 0 ? cell.firstId : cell.laterId, id);
        }
    }
}

TEST(VoronoiDraws, EveryDispatchLevelMatchesGeneratorsReseededWithEachHash)
{
    std::mt19937 gen(2024);
    int compared = 0;
    for (const simd::Level& level : simd::builtLevels()) {
        if (!simd::supported(level))
            continue;
        const simd::ForcedLevel forced(level);
        // Every batch size, so that every group count and the lanes past the
        // last cell are exercised.
        for (int cells = 1; cells <= VoronoiDraws::maxCells; ++cells) {
            std::uint32_t hashes[VoronoiDraws::maxCells];
            for (int c = 0; c < cells; ++c)
                hashes[c] = c == 0 ? 0u : gen();
            const int outputs = cells % 2 ? VoronoiDraws::maxOutputs : 6 * (1 + cells % 3);
            VoronoiDraws draws;
            draws.draw(hashes, cells, outputs);
            for (int c = 0; c < cells; ++c) {
                Random random(0);
                random.seed(hashes[c]);
                for (int k = 0; k < outputs; ++k) {
                    ASSERT_EQ(draws.output(k, c), random.nextUint32())
                        << level.name << ": " << cells << " cells, cell " << c << ", output " << k;
                    if (k == 0) {
                        ASSERT_EQ(draws.firstWord(c), random.firstStateWord());
                    }
                }
                ++compared;
            }
        }
    }
    const int everyBatch = VoronoiDraws::maxCells * (VoronoiDraws::maxCells + 1) / 2;
    EXPECT_GE(compared, 2 * everyBatch) << "at least the portable lanes and the best ones";
}

TEST(VoronoiIdentity, ObjectsSharingTheCellCacheStillMatchThePlainReading)
{
    // One thread's cache serves every Voronoi: a dense object leaves cells of
    // five points that a sparser one reads the first points of, and objects
    // with other seeds give the same hashes other counts.
    Voronoi dense(3, 256, 9.0), sparse(3, 256, 1.5), other(4, 256, 1.5), small(3, 16, 2.5);
    ReferenceVoronoi plainDense(3, 256, 9.0), plainSparse(3, 256, 1.5), plainOther(4, 256, 1.5), plainSmall(3, 16, 2.5);
    const std::vector<Point> points = queryPoints(77, 400);
    for (const Point& p : points) {
        ASSERT_EQ(dense.nthDistance(p.x, p.y, p.z, 3), plainDense.nthDistance(p.x, p.y, p.z, 3));
        ASSERT_EQ(sparse.nearestId(p.x, p.y, p.z), plainSparse.nearestId(p.x, p.y, p.z));
        ASSERT_EQ(other.distanceGap(p.x, p.y, p.z), plainOther.distanceGap(p.x, p.y, p.z));
        ASSERT_EQ(small.value(p.x, p.y, p.z), plainSmall.value(p.x, p.y, p.z));
        ASSERT_EQ(sparse.value(p.x, p.y, p.z), plainSparse.value(p.x, p.y, p.z));
    }
}

TEST(VoronoiCell, PointCoordinatesCarryOnlySinglePrecisionOffsets)
{
    // Catches a compiler dropping the rounding to float in X + offset: the
    // fractional part of every coordinate must be a float.
    Random random(0);
    random.seed(702395077u * 3u);
    const double x = double(3) + double(random.nextFloat());
    const double offset = x - 3.0;
    EXPECT_EQ(offset, double(float(offset)));
    VoronoiCell cell;
    cell.generate(702395077u * 3u, 1);
    EXPECT_EQ(double(3) + double(cell.offset[0][0]), x);
}

TEST(VoronoiCell, CountIsClampedToTheRecordsCapacity)
{
    VoronoiCell cell;
    cell.generate(42u, 9);
    EXPECT_EQ(cell.count, VoronoiCell::maxPoints);
    cell.generate(42u, -3);
    EXPECT_EQ(cell.count, 0);
}

} // namespace
