// Evaluation over runs of points beside the peers, one thread: the run
// kernels at each dispatch level this processor has, and today's one-point
// value() loop, each against stb_perlin or libnoise on the same points.
//
//   build/bin/run_bench --benchmark_min_time=1
//
// Every row times ours and the peer in alternating blocks of the same
// points, by this thread's processor time, so that the machine's load
// weighs on both alike: ours_ns and peer_ns are per point, ratio is
// ours / peer. Rows end in the level the kernels ran at (AVX3_DL, AVX3,
// AVX2, SSE4, scalar) or in "value", the one-point loop.
//
// "Grid" rows sample a 512 x 512 grid over [0, 32)^2 at z = 0.375 in runs of
// one row; "Scattered" rows 4096 points in [-100, 100]^3 in one run.
//
// The "Bake" rows time a 512 x 512 RGBA float bake, one thread, of the world
// background (noise of period 16 through its colour map, extent 16) and of a
// flagstone paving (extent 16): ours is bakeFloats, which evaluates runs
// along the rows, beside a loop that evaluates colour() at each texel and
// stores it as bakeFloats does. speedup is the loop's time / ours; a row
// whose bytes differ from the loop's fails.
#include "support/simd/dispatch.h"
#include "texture/bake/memory_bake.h"
#include "texture/colour/colour_map.h"
#include "texture/colour/flagstone.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/voronoi.h"

#include <benchmark/benchmark.h>

#define STB_PERLIN_IMPLEMENTATION
#include <stb_perlin.h>

#include <noise.h>

#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace tex;

namespace {

constexpr int side = 512;
constexpr double gridExtent = 32.0;
constexpr double gridZ = 0.375;
constexpr int rowsPerBlock = 16;

// This thread's processor time in seconds.
double threadSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

// Points of one run, as coordinate arrays.
struct Points {
    std::vector<double> x, y, z;
    std::vector<float> fx, fy, fz;

    void add(double px, double py, double pz)
    {
        x.push_back(px);
        y.push_back(py);
        z.push_back(pz);
        fx.push_back(float(px));
        fy.push_back(float(py));
        fz.push_back(float(pz));
    }
    std::size_t size() const { return x.size(); }
};

// The grid in blocks of rowsPerBlock rows.
const std::vector<Points>& gridBlocks()
{
    static const std::vector<Points> blocks = [] {
        std::vector<Points> result(side / rowsPerBlock);
        const double step = gridExtent / side;
        for (int r = 0; r < side; ++r)
            for (int c = 0; c < side; ++c)
                result[r / rowsPerBlock].add(c * step, r * step, gridZ);
        return result;
    }();
    return blocks;
}

const std::vector<Points>& scatteredBlocks()
{
    static const std::vector<Points> blocks = [] {
        std::mt19937 gen(20240601u);
        std::uniform_real_distribution<double> coordinate(-100.0, 100.0);
        std::vector<Points> result(1);
        for (int i = 0; i < 4096; ++i)
            result[0].add(coordinate(gen), coordinate(gen), coordinate(gen));
        return result;
    }();
    return blocks;
}

// A grid block is evaluated one row, one run, at a time.
std::size_t runLength(const std::vector<Points>& blocks)
{
    return &blocks == &gridBlocks() ? side : blocks[0].size();
}

// Our side of a row: the run kernels over a block, or, without a level, the
// one-point loop; both into `out`.
using Ours = std::function<void(const double* x, const double* y, const double* z, double* out, std::size_t n)>;
using OnePoint = std::function<double(double x, double y, double z)>;
using Peer = std::function<double(const Points& p, std::size_t i)>;

void versus(benchmark::State& state, const std::vector<Points>& blocks, const std::optional<simd::Level>& level,
            const Ours& runs, const OnePoint& onePoint, const Peer& peer)
{
    std::unique_ptr<simd::ForcedLevel> forced;
    if (level)
        forced = std::make_unique<simd::ForcedLevel>(*level);
    const std::size_t run = runLength(blocks);
    std::vector<double> out(blocks[0].size());
    double ours = 0, theirs = 0, sum = 0;
    std::size_t block = 0, points = 0;
    for (auto _ : state) {
        const Points& p = blocks[block];
        const double t0 = threadSeconds();
        if (level) {
            for (std::size_t i = 0; i < p.size(); i += run)
                runs(&p.x[i], &p.y[i], &p.z[i], &out[i], run);
        } else {
            for (std::size_t i = 0; i < p.size(); ++i)
                out[i] = onePoint(p.x[i], p.y[i], p.z[i]);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
        const double t1 = threadSeconds();
        for (std::size_t i = 0; i < p.size(); ++i)
            sum += peer(p, i);
        const double t2 = threadSeconds();
        ours += t1 - t0;
        theirs += t2 - t1;
        points += p.size();
        block = block + 1 == blocks.size() ? 0 : block + 1;
    }
    benchmark::DoNotOptimize(sum);
    state.counters["ours_ns"] = 1e9 * ours / double(points);
    state.counters["peer_ns"] = 1e9 * theirs / double(points);
    state.counters["ratio"] = ours / theirs;
}

double stbNoise(const Points& p, std::size_t i)
{
    return stb_perlin_noise3(p.fx[i], p.fy[i], p.fz[i], 0, 0, 0);
}

// Registers `name`/<level> for every supported level, and `name`/value.
template <typename Body>
void registerLevels(const std::string& name, Body body)
{
    for (const simd::Level& level : simd::builtLevels()) {
        if (!simd::supported(level))
            continue;
        benchmark::RegisterBenchmark((name + "/" + level.name).c_str(),
                                     [body, level](benchmark::State& state) { body(state, level); })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark((name + "/value").c_str(),
                                 [body](benchmark::State& state) { body(state, std::nullopt); })
        ->Unit(benchmark::kMillisecond);
}

void registerNoise()
{
    for (const auto& [name, blocks] : {std::pair{"NoiseGridVsStb", &gridBlocks()},
                                        std::pair{"NoiseScatteredVsStb", &scatteredBlocks()}}) {
        registerLevels(name, [blocks](benchmark::State& state, std::optional<simd::Level> level) {
            Noise noise(1, 256);
            versus(
                state, *blocks, level,
                [&](const double* x, const double* y, const double* z, double* out, std::size_t n) {
                    noise.values(x, y, z, out, n);
                },
                [&](double x, double y, double z) { return noise.value(x, y, z); }, stbNoise);
        });
    }
}

// FBM of 4 octaves over noise, beside stb's fBm of 4 octaves with the same
// lacunarity and gain.
void registerFbm()
{
    registerLevels("FbmGridVsStb", [](benchmark::State& state, std::optional<simd::Level> level) {
        Noise noise(1, 256);
        FBM fbm;
        fbm.setInput(&noise, 0);
        fbm.setIntParameter("octaves", 4);
        versus(
            state, gridBlocks(), level,
            [&](const double* x, const double* y, const double* z, double* out, std::size_t n) {
                fbm.values(x, y, z, out, n);
            },
            [&](double x, double y, double z) { return fbm.value(x, y, z); },
            [](const Points& p, std::size_t i) {
                return stb_perlin_fbm_noise3(p.fx[i], p.fy[i], p.fz[i], 2.0f, 0.5f, 4);
            });
    });
}

// Cellular F1 (Voronoi of size 256 and density 1.5, its distance through the
// contrast stage) beside libnoise's Voronoi module with its distance output
// and no displacement, at frequency 1: one seed point per unit cell.
void registerVoronoi()
{
    for (const auto& [name, blocks] : {std::pair{"VoronoiGridVsLibnoise", &gridBlocks()},
                                        std::pair{"VoronoiScatteredVsLibnoise", &scatteredBlocks()}}) {
        registerLevels(name, [blocks](benchmark::State& state, std::optional<simd::Level> level) {
            Voronoi cells(17, 256, 1.5);
            noise::module::Voronoi module;
            module.SetSeed(17);
            module.SetFrequency(1.0);
            module.EnableDistance(true);
            module.SetDisplacement(0.0);
            versus(
                state, *blocks, level,
                [&](const double* x, const double* y, const double* z, double* out, std::size_t n) {
                    cells.values(x, y, z, out, n);
                },
                [&](double x, double y, double z) { return cells.value(x, y, z); },
                [&](const Points& p, std::size_t i) { return module.GetValue(p.x[i], p.y[i], p.z[i]); });
        });
    }
}

// A 512 x 512 RGBA float bake of `function` over `grid` a texel at a time,
// as bakeFloats stored colours before it evaluated runs: colour() at each
// texel, clamped to [0, 1].
template <typename Function>
void pointBake(Function& function, const Grid& grid, std::vector<float>& out)
{
    for (int row = 0; row < grid.height(); ++row)
        for (int column = 0; column < grid.width(); ++column) {
            const Point p = grid.point(row, column);
            Colour colour = function.colour(p.x, p.y, p.z);
            colour.clampToUnit();
            float* texel = &out[4 * (std::size_t(row) * grid.width() + column)];
            texel[0] = float(colour.r);
            texel[1] = float(colour.g);
            texel[2] = float(colour.b);
            texel[3] = float(colour.a);
        }
}

template <typename Function>
void bakeVersusPoints(benchmark::State& state, const simd::Level& level, Function& function)
{
    const simd::ForcedLevel forced(level);
    const Grid grid = Grid::flat(side, side, 16.0, 0.0, 0.0, 0.0);
    std::vector<float> ours(std::size_t(side) * side * 4), points(ours.size());
    double oursSeconds = 0, pointSeconds = 0;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        bakeFloats(function, grid, ours.data(), BakeOptions{std::nullopt, 1});
        benchmark::ClobberMemory();
        const double t1 = threadSeconds();
        pointBake(function, grid, points);
        benchmark::ClobberMemory();
        const double t2 = threadSeconds();
        oursSeconds += t1 - t0;
        pointSeconds += t2 - t1;
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = 1e3 * oursSeconds / n;
    state.counters["point_ms"] = 1e3 * pointSeconds / n;
    state.counters["speedup"] = pointSeconds / oursSeconds;
    if (std::memcmp(ours.data(), points.data(), ours.size() * sizeof(float)) != 0)
        state.SkipWithError("the bakes differ");
}

const double backgroundStops[] = {
    0.0, 0.5, 0.2, 0.4, 0.1, 0.4, 0.5, 0.2, 0.4, 0.1, 0.95, 0.8, 0.6, 0.2, 0.1, 1.0, 0.5, 0.2, 0.4, 0.1,
};

void registerBakes()
{
    for (const simd::Level& level : simd::builtLevels()) {
        if (!simd::supported(level))
            continue;
        benchmark::RegisterBenchmark((std::string("BakeBackground/") + level.name).c_str(),
                                     [level](benchmark::State& state) {
                                         Noise noise(1, 16);
                                         ColourMap map;
                                         map.setInput(&noise, 0);
                                         map.spline()->setStops(backgroundStops, 4);
                                         bakeVersusPoints(state, level, map);
                                     })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BakeFlagstone/") + level.name).c_str(),
                                     [level](benchmark::State& state) {
                                         Flagstone flagstone(17, 23);
                                         bakeVersusPoints(state, level, flagstone);
                                     })
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    registerNoise();
    registerFbm();
    registerVoronoi();
    registerBakes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
