// Parallel bakes: the 512 x 512 memory bakes of the world background (a
// colour map over noise of size 16) and of a flagstone paving, each timed
// with one thread and with N threads in alternation, so that both figures
// and their ratio come from the same stretch of machine time.
//
//   build/bin/parallel_bake_bench --benchmark_min_time=2
//
// Counters: ms_1 and ms_N are the wall-clock milliseconds of one bake with
// one thread and with N threads (the argument); speedup is ms_1 / ms_N.
#include "texture/bake/memory_bake.h"
#include "texture/colour/colour_map.h"
#include "texture/colour/flagstone.h"
#include "texture/scalar/noise.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

using namespace tex;

namespace {

const int side = 512;

const double backgroundStops[] = {
    0.0, 0.5, 0.2, 0.4, 0.1, 0.4, 0.5, 0.2, 0.4, 0.1, 0.95, 0.8, 0.6, 0.2, 0.1, 1.0, 0.5, 0.2, 0.4, 0.1,
};

struct Background {
    Background()
    {
        map.setInput(&noise, 0);
        map.spline()->setStops(backgroundStops, 4);
    }

    Noise noise{1, 16};
    ColourMap map;
};

// Milliseconds of wall-clock time of one RGBA float bake of `f`.
template <typename Function>
double bakeMilliseconds(Function& f, const Grid& grid, int threads, std::vector<float>& out)
{
    const auto start = std::chrono::steady_clock::now();
    bakeFloats(f, grid, out.data(), BakeOptions{std::nullopt, threads});
    benchmark::ClobberMemory();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

template <typename Function>
void speedup(benchmark::State& state, Function& f, const Grid& grid)
{
    const int threads = int(state.range(0));
    std::vector<float> out(size_t(side) * side * 4);
    double single = 0;
    double spread = 0;
    for (auto _ : state) {
        single += bakeMilliseconds(f, grid, 1, out);
        spread += bakeMilliseconds(f, grid, threads, out);
    }
    const double n = double(state.iterations());
    state.counters["ms_1"] = single / n;
    state.counters["ms_N"] = spread / n;
    state.counters["speedup"] = single / spread;
    state.SetItemsProcessed(state.iterations() * 2 * side * side);
}

void BackgroundBakeSpeedup(benchmark::State& state)
{
    Background background;
    speedup(state, background.map, Grid::flat(side, side, 16.0, 0.0, 0.0, 0.0));
}
BENCHMARK(BackgroundBakeSpeedup)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void FlagstoneBakeSpeedup(benchmark::State& state)
{
    Flagstone flagstone(17, 23);
    speedup(state, flagstone, Grid::flat(side, side, 16.0, 0.0, 0.0, 0.0));
}
BENCHMARK(FlagstoneBakeSpeedup)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
