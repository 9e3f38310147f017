// Cellular noise speed: Voronoi (cells drawn side by side, then cached per
// thread) beside the plain reseed-per-cell reading and beside libnoise's
// Voronoi.
//
//   build/bin/cellular_bench --benchmark_min_time=0.5 --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// "Sweep" walks the texels of a 512 x 512 bake over 16 units (the sampling
// of a texture bake); "Scattered" cycles through 4096 random points in
// [-100, 100]^3, where neighbouring queries share no cells (they visit
// some 30000 cells, far more than the 4096 a thread's cache holds). The
// "VsLibnoise" rows time Voronoi::value and libnoise on the same points in
// alternating blocks, by this thread's processor time, so that the
// machine's load weighs on both alike, and report ratio = our time /
// libnoise's.
#include "tests/texture/scalar/voronoi_reference.h"
#include "texture/colour/flagstone.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/voronoi.h"
#include "texture/scalar/voronoi_draws.h"

#include "support/scalar.h"

#include <benchmark/benchmark.h>
#include <noise.h>

#include <ctime>
#include <random>
#include <vector>

using namespace tex;

namespace {

constexpr int texels = 512;
constexpr double extent = 16.0;
constexpr int cellSeed = 17;
constexpr int grainSeed = 23;

struct Point {
    double x, y, z;
};

const std::vector<Point>& sweepPoints()
{
    static const std::vector<Point> points = [] {
        std::vector<Point> p;
        const double step = extent / texels;
        for (int r = 0; r < texels; ++r)
            for (int c = 0; c < texels; ++c)
                p.push_back({c * step, r * step, 0.0});
        return p;
    }();
    return points;
}

const std::vector<Point>& scatteredPoints()
{
    static const std::vector<Point> points = [] {
        std::mt19937 gen(2024);
        std::uniform_real_distribution<double> coordinate(-100.0, 100.0);
        std::vector<Point> p(4096);
        for (Point& q : p)
            q = {coordinate(gen), coordinate(gen), coordinate(gen)};
        return p;
    }();
    return points;
}

template <typename Query>
void run(benchmark::State& state, const std::vector<Point>& points, Query query)
{
    size_t i = 0;
    for (auto _ : state) {
        const Point& p = points[i];
        benchmark::DoNotOptimize(query(p));
        i = i + 1 == points.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

// Voronoi::value and its peers.

void VoronoiValueSweep(benchmark::State& state)
{
    Voronoi field(cellSeed, 256, 1.5);
    run(state, sweepPoints(), [&](const Point& p) { return field.value(p.x, p.y, p.z); });
}

void PlainVoronoiValueSweep(benchmark::State& state)
{
    ReferenceVoronoi field(cellSeed, 256, 1.5);
    run(state, sweepPoints(), [&](const Point& p) { return field.value(p.x, p.y, p.z); });
}

// libnoise's cellular module at its nearest-distance setting: one seed point
// per unit cell, distance output on, no per-cell displacement value.
noise::module::Voronoi libnoiseVoronoi()
{
    noise::module::Voronoi module;
    module.SetSeed(cellSeed);
    module.SetFrequency(1.0);
    module.EnableDistance(true);
    module.SetDisplacement(0.0);
    return module;
}

void LibnoiseVoronoiSweep(benchmark::State& state)
{
    const noise::module::Voronoi module = libnoiseVoronoi();
    run(state, sweepPoints(), [&](const Point& p) { return module.GetValue(p.x, p.y, p.z); });
}

void VoronoiValueScattered(benchmark::State& state)
{
    Voronoi field(cellSeed, 256, 1.5);
    run(state, scatteredPoints(), [&](const Point& p) { return field.value(p.x, p.y, p.z); });
}

void PlainVoronoiValueScattered(benchmark::State& state)
{
    ReferenceVoronoi field(cellSeed, 256, 1.5);
    run(state, scatteredPoints(), [&](const Point& p) { return field.value(p.x, p.y, p.z); });
}

void LibnoiseVoronoiScattered(benchmark::State& state)
{
    const noise::module::Voronoi module = libnoiseVoronoi();
    run(state, scatteredPoints(), [&](const Point& p) { return module.GetValue(p.x, p.y, p.z); });
}

// This thread's processor time in seconds: unlike the wall clock, it does not
// count the slices other processes take from a shared machine.
double threadSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

// Voronoi::value against libnoise on the same points, `block` of them (a
// divisor of the point count) by one and then by the other in each
// iteration.
template <typename Peer>
void versus(benchmark::State& state, const std::vector<Point>& points, size_t block, Peer peer)
{
    Voronoi field(cellSeed, 256, 1.5);
    double ours = 0, theirs = 0;
    size_t start = 0;
    double sum = 0;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        for (size_t i = start; i < start + block; ++i)
            sum += field.value(points[i].x, points[i].y, points[i].z);
        const double t1 = threadSeconds();
        for (size_t i = start; i < start + block; ++i)
            sum += peer(points[i]);
        const double t2 = threadSeconds();
        ours += t1 - t0;
        theirs += t2 - t1;
        start = start + block == points.size() ? 0 : start + block;
    }
    benchmark::DoNotOptimize(sum);
    const double queries = double(state.iterations()) * double(block);
    state.counters["ours_ns"] = 1e9 * ours / queries;
    state.counters["libnoise_ns"] = 1e9 * theirs / queries;
    state.counters["ratio"] = ours / theirs;
}

void VoronoiVsLibnoiseScattered(benchmark::State& state)
{
    const noise::module::Voronoi module = libnoiseVoronoi();
    versus(state, scatteredPoints(), scatteredPoints().size(),
           [&](const Point& p) { return module.GetValue(p.x, p.y, p.z); });
}

// Sixteen texel rows at a time, so that our sweep keeps its order.
void VoronoiVsLibnoiseSweep(benchmark::State& state)
{
    const noise::module::Voronoi module = libnoiseVoronoi();
    versus(state, sweepPoints(), 16 * texels, [&](const Point& p) { return module.GetValue(p.x, p.y, p.z); });
}

// The seeding floor of a query: the draws for N cells at once, 18 outputs
// each (cells of up to 3 points), whose chains of some 400 dependent steps
// no query that visits an uncached cell can go below. A scattered query
// draws for about 21 cells.
void VoronoiDrawsForCells(benchmark::State& state)
{
    const int cells = int(state.range(0));
    std::uint32_t hashes[VoronoiDraws::maxCells];
    for (int c = 0; c < cells; ++c)
        hashes[c] = 702395077u * std::uint32_t(c + 1);
    VoronoiDraws draws;
    for (auto _ : state) {
        draws.draw(hashes, cells, 18);
        benchmark::DoNotOptimize(draws.output(17, cells - 1));
        ++hashes[0];
    }
}

// One flagstone texel's cellular work: nearestId then distanceGap.

void VoronoiStoneTexelSweep(benchmark::State& state)
{
    Voronoi field(cellSeed, 256, 1.5);
    run(state, sweepPoints(), [&](const Point& p) {
        return field.nearestId(p.x, p.y, p.z) + field.distanceGap(p.x, p.y, p.z);
    });
}

void PlainVoronoiStoneTexelSweep(benchmark::State& state)
{
    ReferenceVoronoi field(cellSeed, 256, 1.5);
    run(state, sweepPoints(), [&](const Point& p) {
        return field.nearestId(p.x, p.y, p.z) + field.distanceGap(p.x, p.y, p.z);
    });
}

// A whole 512 x 512 flagstone bake into a float buffer (no GL).

Colour plainFlagstone(ReferenceVoronoi& cells, Noise& grain, double x, double y, double z)
{
    const std::uint32_t id = cells.nearestId(x, y, z);
    const double gap = cells.distanceGap(x, y, z);
    const double inside = step(0.1, gap);
    const Colour mortar = Flagstone::mortarColour * (1 + 0.05 * grain.value(7.7 * x, 7.7 * y, 7.7 * z));
    const double stoneGrain = grain.value(5 * x, 5 * y, 5 * z);
    const Colour stone = Flagstone::stoneColours[id >> 30] * (0.5 * gap + 0.7) * (1 + 0.1 * stoneGrain);
    return lerp(stone, mortar, 1 - inside);
}

template <typename ColourAt>
void bake(std::vector<float>& buffer, ColourAt colourAt)
{
    const double step = extent / texels;
    for (int r = 0; r < texels; ++r) {
        for (int c = 0; c < texels; ++c) {
            Colour colour = colourAt(c * step, r * step, 0.0);
            colour.clampToUnit();
            float* texel = &buffer[4 * (r * texels + c)];
            texel[0] = float(colour.r);
            texel[1] = float(colour.g);
            texel[2] = float(colour.b);
            texel[3] = float(colour.a);
        }
    }
}

std::vector<float>& fastBakeResult()
{
    static std::vector<float> buffer(4 * texels * texels);
    return buffer;
}

std::vector<float>& plainBakeResult()
{
    static std::vector<float> buffer(4 * texels * texels);
    return buffer;
}

void FlagstoneBake512(benchmark::State& state)
{
    for (auto _ : state) {
        Flagstone flagstone(cellSeed, grainSeed);
        bake(fastBakeResult(), [&](double x, double y, double z) { return flagstone.colour(x, y, z); });
        benchmark::ClobberMemory();
    }
}

void PlainFlagstoneBake512(benchmark::State& state)
{
    for (auto _ : state) {
        ReferenceVoronoi cells(cellSeed, 256, 1.5);
        Noise grain(grainSeed, 256);
        bake(plainBakeResult(), [&](double x, double y, double z) { return plainFlagstone(cells, grain, x, y, z); });
        benchmark::ClobberMemory();
    }
    if (plainBakeResult() != fastBakeResult())
        state.SkipWithError("the two bakes differ");
}

} // namespace

BENCHMARK(VoronoiValueSweep);
BENCHMARK(PlainVoronoiValueSweep);
BENCHMARK(LibnoiseVoronoiSweep);
BENCHMARK(VoronoiValueScattered);
BENCHMARK(PlainVoronoiValueScattered);
BENCHMARK(LibnoiseVoronoiScattered);
BENCHMARK(VoronoiVsLibnoiseScattered)->Unit(benchmark::kMillisecond);
BENCHMARK(VoronoiVsLibnoiseSweep)->Unit(benchmark::kMillisecond);
BENCHMARK(VoronoiDrawsForCells)->Arg(1)->Arg(8)->Arg(21)->Arg(27)->Arg(64);
BENCHMARK(VoronoiStoneTexelSweep);
BENCHMARK(PlainVoronoiStoneTexelSweep);
BENCHMARK(FlagstoneBake512)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainFlagstoneBake512)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
