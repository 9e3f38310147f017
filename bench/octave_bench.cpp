// Octave counts are honoured only as far as they can change a value: the
// 512 x 512 memory bakes (one thread) of FBM over noise and of turbulence,
// each timed with 16 octaves and with the argument's count in alternation,
// so that both figures and their ratio come from the same stretch of
// machine time.
//
//   build/bin/octave_bench
//
// Counters: ms_16 and ms_N are the wall-clock milliseconds of one bake with
// 16 octaves and with N octaves (the argument); ratio is ms_N / ms_16.
#include "texture/bake/memory_bake.h"
#include "texture/scalar/fbm.h"
#include "texture/scalar/noise.h"
#include "texture/scalar/turbulence.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <limits>
#include <vector>

using namespace tex;

namespace {

const int side = 512;

double bakeMilliseconds(Basis& f, const Grid& grid, std::vector<float>& out)
{
    const auto start = std::chrono::steady_clock::now();
    bakeFloats(f, grid, out.data(), BakeOptions{std::nullopt, 1});
    benchmark::ClobberMemory();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void ratio(benchmark::State& state, FractalSum& field)
{
    const int octaves = int(state.range(0));
    const Grid grid = Grid::flat(side, side, 8.0, 0.0, 0.0, 0.5);
    std::vector<float> out(size_t(side) * side);
    double sixteen = 0;
    double many = 0;
    for (auto _ : state) {
        field.setIntParameter("octaves", 16);
        sixteen += bakeMilliseconds(field, grid, out);
        field.setIntParameter("octaves", octaves);
        many += bakeMilliseconds(field, grid, out);
    }
    const double n = double(state.iterations());
    state.counters["ms_16"] = sixteen / n;
    state.counters["ms_N"] = many / n;
    state.counters["ratio"] = many / sixteen;
}

void FbmOctaves(benchmark::State& state)
{
    Noise noise(1, 16);
    FBM fbm;
    fbm.setInput(&noise, 0);
    ratio(state, fbm);
}
BENCHMARK(FbmOctaves)
    ->Arg(16)
    ->Arg(64)
    ->Arg(std::numeric_limits<int>::max())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void TurbulenceOctaves(benchmark::State& state)
{
    Turbulence turbulence(1, 16);
    ratio(state, turbulence);
}
BENCHMARK(TurbulenceOctaves)
    ->Arg(16)
    ->Arg(64)
    ->Arg(std::numeric_limits<int>::max())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
