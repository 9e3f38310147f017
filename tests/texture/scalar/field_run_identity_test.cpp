// Evaluation over runs of points gives, at every dispatch level, exactly the
// bits of the scalar evaluation at each point.

#include "tests/texture/run_points.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/turbulence.h"
#include "texture/scalar/voronoi.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace tex;

namespace {

class NoiseRuns : public AtEveryLevel {};

TEST_P(NoiseRuns, MatchNoiseAndValueAtEveryPoint)
{
    for (int size : {16, 256, 1}) {
        Noise noise(size * 7 + 3, size);
        noise.setParameter("xscale", 1.75);
        noise.setParameter("zscale", -0.5);
        noise.setParameter("contrast", 1.6);
        const PointRun run = identityPoints(unsigned(size), size);
        for (auto [start, length] : stretches(run.size())) {
            std::vector<double> raw(length), value(length);
            noise.noiseRun(&run.x[start], &run.y[start], &run.z[start], raw.data(), length);
            noise.values(&run.x[start], &run.y[start], &run.z[start], value.data(), length);
            for (std::size_t i = 0; i < length; ++i) {
                const std::size_t p = start + i;
                ASSERT_EQ(bitsOf(raw[i]), bitsOf(noise.noise(run.x[p], run.y[p], run.z[p])))
                    << "size " << size << " at (" << run.x[p] << ", " << run.y[p] << ", " << run.z[p] << ")";
                ASSERT_EQ(bitsOf(value[i]), bitsOf(noise.value(run.x[p], run.y[p], run.z[p])))
                    << "size " << size << " at (" << run.x[p] << ", " << run.y[p] << ", " << run.z[p] << ")";
            }
        }
    }
}

// At a lattice point the raw noise is a sum of signed zeros, whose sign the
// coordinates' signs decide: -0 where an offset is -0 - (+0). The runs keep
// it, in a row (y and z shared) and at scattered points alike.
TEST_P(NoiseRuns, KeepTheSignOfZeroAtLatticePoints)
{
    EXPECT_TRUE(std::signbit(Noise(5, 2).noise(1, 0, -0.0)));
    int negativeZeros = 0;
    const double coordinates[] = {-0.0, 0.0, 1.0, -1.0, 2.0};
    for (int seed = 1; seed <= 8; ++seed) {
        const Noise noise(seed, seed % 2 ? 2 : 256);
        for (double y : coordinates)
            for (double z : coordinates) {
                PointRun row, scattered;
                for (double x : coordinates) {
                    row.add(x, y, z);
                    scattered.add(z, x, y);
                    scattered.add(y, z + 5, x);
                }
                for (const PointRun* run : {&row, &scattered}) {
                    std::vector<double> raw(run->size());
                    noise.noiseRun(run->x.data(), run->y.data(), run->z.data(), raw.data(), run->size());
                    for (std::size_t p = 0; p < run->size(); ++p) {
                        const double expected = noise.noise(run->x[p], run->y[p], run->z[p]);
                        negativeZeros += expected == 0 && std::signbit(expected);
                        ASSERT_EQ(bitsOf(raw[p]), bitsOf(expected))
                            << "seed " << seed << " at (" << run->x[p] << ", " << run->y[p] << ", " << run->z[p] << ")";
                    }
                }
            }
    }
    EXPECT_GT(negativeZeros, 0) << "no lattice point gave -0: the test proves nothing";
}

INSTANTIATE_AT_EVERY_LEVEL(NoiseRuns);

// Scattered points at AVX3_DL look their hashes up with AVX-512 VBMI byte
// permutes instead of gathers: the same bits as noise() and as AVX3, for
// every period (the sums of lookups wrap at 256 in bytes).
TEST(NoiseAvx3Dl, ScatteredPointsMatchNoiseAndAvx3)
{
    const auto& levels = simd::builtLevels();
    const auto level = [&](const char* name) {
        return std::find_if(levels.begin(), levels.end(),
                            [&](const simd::Level& l) { return std::string(l.name) == name; });
    };
    const auto dl = level("AVX3_DL"), avx3 = level("AVX3");
    if (dl == levels.end() || avx3 == levels.end())
        GTEST_SKIP() << "AVX3_DL or AVX3 is not built under this build's -march";
    if (!simd::supported(*dl))
        GTEST_SKIP() << "this processor lacks AVX3_DL (AVX-512 VBMI, VNNI and the rest): its path is not run here";
    for (int size : {256, 64, 2, 1}) {
        const Noise noise(size + 11, size);
        const PointRun run = identityPoints(unsigned(size) + 5, 3.0 * size);
        std::vector<double> atDl(run.size()), atAvx3(run.size());
        {
            const simd::ForcedLevel forced(*dl);
            noise.noiseRun(run.x.data(), run.y.data(), run.z.data(), atDl.data(), run.size());
        }
        {
            const simd::ForcedLevel forced(*avx3);
            noise.noiseRun(run.x.data(), run.y.data(), run.z.data(), atAvx3.data(), run.size());
        }
        for (std::size_t p = 0; p < run.size(); ++p) {
            const double expected = noise.noise(run.x[p], run.y[p], run.z[p]);
            ASSERT_EQ(bitsOf(atDl[p]), bitsOf(expected))
                << "size " << size << " at (" << run.x[p] << ", " << run.y[p] << ", " << run.z[p] << ")";
            ASSERT_EQ(bitsOf(atAvx3[p]), bitsOf(expected));
        }
    }
}

// values() against value() over every stretch of the identity points.
template <typename Field>
void expectRunsMatchValues(Field& field, const PointRun& run, const std::string& what)
{
    for (auto [start, length] : stretches(run.size())) {
        std::vector<double> values(length);
        field.values(&run.x[start], &run.y[start], &run.z[start], values.data(), length);
        for (std::size_t i = 0; i < length; ++i) {
            const std::size_t p = start + i;
            ASSERT_EQ(bitsOf(values[i]), bitsOf(field.value(run.x[p], run.y[p], run.z[p])))
                << what << " at (" << run.x[p] << ", " << run.y[p] << ", " << run.z[p] << ")";
        }
    }
}

// Octave counts and lacunarities that sum in full, end every point at once,
// and end points at different octaves (from 16 on, where sums may settle).
struct OctaveCase {
    int octaves;
    double lacunarity;
    double contrast;
};
const OctaveCase octaveCases[] = {{4, 2.0, 1.0}, {16, 1.7, 1.3}, {60, 2.0, 1.0}, {300, -2.5, 0.7},
                                  {40, 0.5, 1.0}, {24, 3.0, 0.0}, {0, 2.0, 1.0}, {20, std::numeric_limits<double>::quiet_NaN(), 1.0}};

class OctaveRuns : public AtEveryLevel {};

TEST_P(OctaveRuns, FbmAndTurbulenceMatchValueAtEveryPoint)
{
    const PointRun run = identityPoints(17, 256);
    Noise noise(5, 16);
    noise.setParameter("contrast", 1.4);
    Voronoi cells(6, 256, 1.5);
    for (const OctaveCase& c : octaveCases) {
        const std::string what = std::to_string(c.octaves) + " octaves, lacunarity " + std::to_string(c.lacunarity);
        Turbulence turbulence(9, c.octaves);
        turbulence.setParameter("lacunarity", c.lacunarity);
        turbulence.setParameter("contrast", c.contrast);
        turbulence.setParameter("yscale", 0.75);
        expectRunsMatchValues(turbulence, run, "Turbulence, " + what);

        // Over noise, over a field without a run of its own, and over
        // another FBM.
        FBM overNoise, overCells, overFbm;
        overNoise.setInput(&noise, 0);
        overCells.setInput(&cells, 0);
        overFbm.setInput(&overNoise, 0);
        for (FBM* fbm : {&overNoise, &overCells, &overFbm}) {
            fbm->setIntParameter("octaves", c.octaves);
            fbm->setParameter("lacunarity", c.lacunarity);
            fbm->setParameter("contrast", c.contrast);
            fbm->setParameter("xscale", 1.25);
        }
        overFbm.setIntParameter("octaves", 3);
        expectRunsMatchValues(overNoise, run, "FBM over noise, " + what);
        expectRunsMatchValues(overFbm, run, "FBM over FBM, " + what);
        if (c.octaves <= 16)
            expectRunsMatchValues(overCells, run, "FBM over cells, " + what);
    }
    FBM unwired;
    expectRunsMatchValues(unwired, run, "FBM without input");
}

// Grid rows in whole runs, y and z shared, whose points meet from one cell a
// vector to several cells a lane as the octaves double the step: each octave
// takes its own row path, some vectors crossing cell faces, the period, or
// non-finite and far x among finite ones, and x running backwards.
TEST_P(OctaveRuns, GridRowsMatchValueAtEveryOctaveStep)
{
    Noise noise(3, 256);
    Noise small(4, 8);
    Turbulence turbulence(9, 7);
    FBM fbm;
    fbm.setInput(&noise, 0);
    fbm.setIntParameter("octaves", 7);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double step : {0.0625, 0.125, 0.3, 1.0, 2.5})
        for (double start : {-5.03, 0.0, 250.9})
            for (double y : {0.375, -0.0})
                for (std::size_t n : {std::size_t(64), std::size_t(203)}) {
                    PointRun row;
                    for (std::size_t i = 0; i < n; ++i)
                        row.add(start + double(i) * step, y, -1.25);
                    PointRun backwards = row;
                    std::reverse(backwards.x.begin(), backwards.x.end());
                    PointRun broken = row;
                    broken.x[n / 2] = nan;
                    broken.x[n / 3] = 0x1p60;
                    const std::string what = "step " + std::to_string(step) + ", from " + std::to_string(start) +
                                             ", y " + std::to_string(y) + ", " + std::to_string(n) + " points";
                    for (const PointRun* run : {&row, &backwards, &broken}) {
                        std::vector<double> got(n), values(n);
                        fbm.values(run->x.data(), run->y.data(), run->z.data(), values.data(), n);
                        turbulence.values(run->x.data(), run->y.data(), run->z.data(), got.data(), n);
                        for (std::size_t i = 0; i < n; ++i) {
                            const double x = run->x[i], y = run->y[i], z = run->z[i];
                            ASSERT_EQ(bitsOf(values[i]), bitsOf(fbm.value(x, y, z))) << "FBM, " << what << ", x " << x;
                            ASSERT_EQ(bitsOf(got[i]), bitsOf(turbulence.value(x, y, z)))
                                << "Turbulence, " << what << ", x " << x;
                        }
                        for (const Noise* field : {&noise, &small}) {
                            field->noiseRun(run->x.data(), run->y.data(), run->z.data(), got.data(), n);
                            for (std::size_t i = 0; i < n; ++i)
                                ASSERT_EQ(bitsOf(got[i]), bitsOf(field->noise(run->x[i], run->y[i], run->z[i])))
                                    << "noise of size " << field->latticeSize() << ", " << what << ", x " << run->x[i];
                        }
                    }
                }
}

INSTANTIATE_AT_EVERY_LEVEL(OctaveRuns);

class VoronoiRuns : public AtEveryLevel {};

TEST_P(VoronoiRuns, MatchValueNearestIdAndGapAtEveryPoint)
{
    struct Config {
        int seed, size;
        double density;
    };
    // Periods from 1 (every cell alike, so ties) to 256, and densities from
    // empty neighbourhoods to full cells. The objects share the thread's
    // cell cache, as in a graph.
    const Config configs[] = {{1, 256, 1.5}, {12345, 16, 1.5}, {9, 1, 2.0}, {4, 256, 0.3},
                              {2024, 64, 4.0}, {606, 8, 9.0}, {5, 256, 0.001}};
    for (const Config& config : configs) {
        Voronoi cells(config.seed, config.size, config.density);
        cells.setParameter("xscale", 1.5);
        cells.setParameter("zscale", -0.75);
        cells.setParameter("contrast", 1.2);
        const PointRun run = identityPoints(unsigned(config.seed), config.size);
        const std::string what = "size " + std::to_string(config.size) + ", density " + std::to_string(config.density);
        expectRunsMatchValues(cells, run, what);
        for (auto [start, length] : stretches(run.size())) {
            std::vector<std::uint32_t> ids(length);
            std::vector<double> gaps(length);
            cells.nearestIdAndGapRun(&run.x[start], &run.y[start], &run.z[start], ids.data(), gaps.data(), length);
            for (std::size_t i = 0; i < length; ++i) {
                const std::size_t p = start + i;
                ASSERT_EQ(ids[i], cells.nearestId(run.x[p], run.y[p], run.z[p]))
                    << what << " at (" << run.x[p] << ", " << run.y[p] << ", " << run.z[p] << ")";
                ASSERT_EQ(bitsOf(gaps[i]), bitsOf(cells.distanceGap(run.x[p], run.y[p], run.z[p])))
                    << what << " at (" << run.x[p] << ", " << run.y[p] << ", " << run.z[p] << ")";
            }
        }
    }
}

INSTANTIATE_AT_EVERY_LEVEL(VoronoiRuns);

} // namespace
