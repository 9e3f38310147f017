// The world background's bake (a colour map over noise of size 16, 512 × 512,
// extent 16, into an RGBA float texture) beside filling the same RGBA float
// buffer with one stb_perlin_noise3 per texel; and the parallel memory bakes
// of the background and of a flagstone paving. Needs a display (xvfb-run).
#include "texture/bake/memory_bake.h"
#include "texture/colour/colour_map.h"
#include "texture/colour/flagstone.h"
#include "texture/gl/texture_bake.h"
#include "texture/scalar/noise.h"

#define STB_PERLIN_IMPLEMENTATION
#include <stb_perlin.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <vector>

using namespace tex;

namespace {

const int side = 512;
const double extent = 16.0;

const double backgroundStops[] = {
    0.0, 0.5, 0.2, 0.4, 0.1, 0.4, 0.5, 0.2, 0.4, 0.1, 0.95, 0.8, 0.6, 0.2, 0.1, 1.0, 0.5, 0.2, 0.4, 0.1,
};

// The background's colour map over its noise.
struct Background {
    Background()
    {
        map.setInput(&noise, 0);
        map.spline()->setStops(backgroundStops, 4);
    }

    Noise noise{1, 16};
    ColourMap map;
};

void BM_BackgroundBake(benchmark::State& state)
{
    Background background;
    for (auto _ : state) {
        GLuint name = bakeTexture(background.map, side, side, extent, 0.0, 0.0, 0.0);
        glFinish();
        glDeleteTextures(1, &name);
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_BackgroundBake)->Unit(benchmark::kMillisecond);

// The bake's sampling alone: the colour map evaluated and clamped into the
// RGBA float buffer, without the GL upload.
void BM_BackgroundFill(benchmark::State& state)
{
    Background background;
    std::vector<float> texels(size_t(side) * side * 4);
    const double step = extent / side;
    for (auto _ : state) {
        for (int r = 0; r < side; ++r) {
            for (int c = 0; c < side; ++c) {
                Colour colour = background.map.colour(c * step, r * step, 0.0);
                colour.clampToUnit();
                float* texel = &texels[(size_t(r) * side + c) * 4];
                texel[0] = float(colour.r);
                texel[1] = float(colour.g);
                texel[2] = float(colour.b);
                texel[3] = float(colour.a);
            }
        }
        benchmark::DoNotOptimize(texels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_BackgroundFill)->Unit(benchmark::kMillisecond);

// The noise alone into the buffer's red channel: the part of the fill that
// the colour map's spline lookup and clamping come on top of.
void BM_BackgroundNoiseFill(benchmark::State& state)
{
    Background background;
    std::vector<float> texels(size_t(side) * side * 4);
    const double step = extent / side;
    for (auto _ : state) {
        for (int r = 0; r < side; ++r)
            for (int c = 0; c < side; ++c)
                texels[(size_t(r) * side + c) * 4] = float(background.noise.value(c * step, r * step, 0.0));
        benchmark::DoNotOptimize(texels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_BackgroundNoiseFill)->Unit(benchmark::kMillisecond);

// The peer: one stb_perlin_noise3 per texel, wrapping at 16 like the
// background's lattice, into the same RGBA float buffer.
void BM_StbPerlinFill(benchmark::State& state)
{
    std::vector<float> texels(size_t(side) * side * 4);
    const float step = float(extent / side);
    for (auto _ : state) {
        for (int r = 0; r < side; ++r) {
            for (int c = 0; c < side; ++c) {
                const float v = stb_perlin_noise3(c * step, r * step, 0.0f, 16, 16, 16);
                float* texel = &texels[(size_t(r) * side + c) * 4];
                texel[0] = v;
                texel[1] = v;
                texel[2] = v;
                texel[3] = 0.1f;
            }
        }
        benchmark::DoNotOptimize(texels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_StbPerlinFill)->Unit(benchmark::kMillisecond);

// Parallel bakes: each 512 x 512 memory bake timed with one thread and with
// N threads (the argument) in alternation, so that both figures and their
// ratio come from the same stretch of machine time. Counters: ms_1 and ms_N
// are the wall-clock milliseconds of one bake; speedup is ms_1 / ms_N.

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
void speedup(benchmark::State& state, Function& f)
{
    const Grid grid = Grid::flat(side, side, extent, 0.0, 0.0, 0.0);
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
    speedup(state, background.map);
}
BENCHMARK(BackgroundBakeSpeedup)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void FlagstoneBakeSpeedup(benchmark::State& state)
{
    Flagstone flagstone(17, 23);
    speedup(state, flagstone);
}
BENCHMARK(FlagstoneBakeSpeedup)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface)) {
        std::fprintf(stderr, "bake_bench: no GL context\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
