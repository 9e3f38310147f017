// The texture library beside well-known peers, on one shared set of points:
// gradient noise against stb_perlin and libnoise, the Mersenne Twister
// against std::mt19937, and the colour-spline lookup.

#include "texture/texture.h"

#include <benchmark/benchmark.h>

#define STB_PERLIN_IMPLEMENTATION
#include <stb_perlin.h>

#include <noise.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

using namespace tex;

namespace {

std::atomic<long> allocations{0};

} // namespace

// Counts allocations, so that the noise benchmark can show that evaluating
// allocates nothing.
void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

// GCC reads free() after an inlined operator new as a mismatch; here the
// pair is malloc and free by construction.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

constexpr int pointCount = 4096;

struct Points {
    std::vector<double> x, y, z;
    std::vector<float> fx, fy, fz;
};

// 4096 scattered points over [-100, 100]^3 from a fixed seed, in double and
// in single precision.
const Points& points()
{
    static const Points shared = [] {
        Points p;
        std::mt19937 generator(20240601u);
        std::uniform_real_distribution<double> coordinate(-100.0, 100.0);
        for (int i = 0; i < pointCount; ++i) {
            p.x.push_back(coordinate(generator));
            p.y.push_back(coordinate(generator));
            p.z.push_back(coordinate(generator));
            p.fx.push_back(static_cast<float>(p.x.back()));
            p.fy.push_back(static_cast<float>(p.y.back()));
            p.fz.push_back(static_cast<float>(p.z.back()));
        }
        return p;
    }();
    return shared;
}

void NoiseValue(benchmark::State& state)
{
    const Points& p = points();
    Noise noise(1, 256);
    noise.setParameter("xscale", 1.5);
    noise.setParameter("contrast", 1.2);
    const long before = allocations.load();
    for (auto _ : state) {
        for (int i = 0; i < pointCount; ++i)
            benchmark::DoNotOptimize(noise.value(p.x[i], p.y[i], p.z[i]));
    }
    const long allocated = allocations.load() - before;
    state.SetItemsProcessed(state.iterations() * pointCount);
    state.counters["allocs_per_value"] =
        static_cast<double>(allocated) / (static_cast<double>(state.iterations()) * pointCount);
}
BENCHMARK(NoiseValue);

// The raw lattice noise alone, without scaling or the contrast stage: what
// stb_perlin_noise3 and libnoise compute.
void NoiseRaw(benchmark::State& state)
{
    const Points& p = points();
    Noise noise(1, 256);
    for (auto _ : state) {
        for (int i = 0; i < pointCount; ++i)
            benchmark::DoNotOptimize(noise.noise(p.x[i], p.y[i], p.z[i]));
    }
    state.SetItemsProcessed(state.iterations() * pointCount);
}
BENCHMARK(NoiseRaw);

// The same points moved 2^40 out on every axis, beyond the range of an int,
// where deep octaves of fractal sums sample; to compare with NoiseRaw.
void NoiseRawFar(benchmark::State& state)
{
    const Points& p = points();
    const double far = 0x1p40;
    Noise noise(1, 256);
    for (auto _ : state) {
        for (int i = 0; i < pointCount; ++i)
            benchmark::DoNotOptimize(noise.noise(p.x[i] + far, p.y[i] - far, p.z[i] + far));
    }
    state.SetItemsProcessed(state.iterations() * pointCount);
}
BENCHMARK(NoiseRawFar);

void StbPerlinNoise3(benchmark::State& state)
{
    const Points& p = points();
    for (auto _ : state) {
        for (int i = 0; i < pointCount; ++i)
            benchmark::DoNotOptimize(stb_perlin_noise3(p.fx[i], p.fy[i], p.fz[i], 0, 0, 0));
    }
    state.SetItemsProcessed(state.iterations() * pointCount);
}
BENCHMARK(StbPerlinNoise3);

void LibnoiseGradientCoherentNoise3D(benchmark::State& state)
{
    const Points& p = points();
    for (auto _ : state) {
        for (int i = 0; i < pointCount; ++i)
            benchmark::DoNotOptimize(noise::GradientCoherentNoise3D(p.x[i], p.y[i], p.z[i], 1, noise::QUALITY_BEST));
    }
    state.SetItemsProcessed(state.iterations() * pointCount);
}
BENCHMARK(LibnoiseGradientCoherentNoise3D);

void RandomNextUint32(benchmark::State& state)
{
    Random random(5489);
    for (auto _ : state) {
        for (int i = 0; i < pointCount; ++i)
            benchmark::DoNotOptimize(random.nextUint32());
    }
    state.SetItemsProcessed(state.iterations() * pointCount);
}
BENCHMARK(RandomNextUint32);

void StdMt19937Draw(benchmark::State& state)
{
    std::mt19937 generator(5489u);
    for (auto _ : state) {
        for (int i = 0; i < pointCount; ++i)
            benchmark::DoNotOptimize(generator());
    }
    state.SetItemsProcessed(state.iterations() * pointCount);
}
BENCHMARK(StdMt19937Draw);

void RandomSeed(benchmark::State& state)
{
    Random random(0);
    std::uint32_t s = 0;
    for (auto _ : state) {
        random.seed(++s);
        benchmark::DoNotOptimize(random.firstStateWord());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RandomSeed);

void StdMt19937Seed(benchmark::State& state)
{
    std::mt19937 generator;
    std::uint32_t s = 0;
    for (auto _ : state) {
        generator.seed(++s);
        benchmark::DoNotOptimize(generator);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(StdMt19937Seed);

void ColourSplineEvaluate(benchmark::State& state)
{
    // The world background's stops, looked up at evenly spread positions.
    const double stops[] = {
        0.0,  0.5, 0.2, 0.4, 0.1,
        0.4,  0.5, 0.2, 0.4, 0.1,
        0.95, 0.8, 0.6, 0.2, 0.1,
        1.0,  0.5, 0.2, 0.4, 0.1,
    };
    ColourSpline spline;
    spline.setStops(stops, 4);
    for (auto _ : state) {
        for (int i = 0; i < pointCount; ++i)
            benchmark::DoNotOptimize(spline.evaluate(i * (1.0 / pointCount)));
    }
    state.SetItemsProcessed(state.iterations() * pointCount);
}
BENCHMARK(ColourSplineEvaluate);

} // namespace

BENCHMARK_MAIN();
