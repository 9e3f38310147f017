// The world view's cost per frame with 20, 200 and 600 shapes: each
// iteration is one tick
// (every shape animated, then the frame drawn) and one turn of the event
// loop, in which Qt composes the window and swaps its buffers, in a view 800
// and 100 pixels square. The same calls draw 64 times fewer pixels in the
// small view, so the difference between the two sizes is what rasterising
// costs; draw_share is the part of a frame spent drawing it, cpu_ms the CPU
// time of every thread of the process a frame, a steadier figure than the
// time on a shared machine. Needs a display: run it under xvfb-run.
//
// renderer 0 draws each shape as the world was drawn before its renderer: a
// display list per shape and the eyes and background in immediate mode;
// renderer 1 is the world view itself, whose CreatureRenderer draws the
// population from vertex arrays in one call. draw_calls and begins count,
// per frame drawn, the GL calls that draw and the glBegin calls among them
// (each a run of immediate-mode vertices).
//
// WorldFrameDense is 600 shapes of the largest sample count,
// for the world view alone: display lists of such a world take gigabytes.
// Its outlines are evaluated apart from the frames while the world runs;
// full_frame_ms is the time until a frame shows every shape, and
// loading_turn_ms and loading_longest_ms the median and the longest turn of
// the event loop meanwhile: input waits at most that long. peak_rss_mb is
// the process's peak so far, so run it alone to read it.

#include "app/world_view.h"
#include "draw_calls.h"
#include "reference_drawing.h"
#include "shape/shape_random.h"
#include "shape/super_formula.h"

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The world view, timing its frames and counting their draw calls.
class BenchWorld : public WorldView {
public:
    using WorldView::renderer;

    ~BenchWorld() override
    {
        makeCurrent();
        lists.release();
    }

    bool drawAsBefore = false;
    qint64 drawNanoseconds = 0;
    int framesDrawn = 0;
    DrawCalls calls;

protected:
    void drawFrame() override
    {
        const DrawCalls before = drawCallsSoFar();
        QElapsedTimer clock;
        clock.start();
        if (drawAsBefore)
            lists.drawWorldFrame(backgroundTexture(), world().creatures());
        else
            WorldView::drawFrame();
        drawNanoseconds += clock.nsecsElapsed();
        ++framesDrawn;
        const DrawCalls after = drawCallsSoFar();
        calls.elements += after.elements - before.elements;
        calls.arrays += after.arrays - before.arrays;
        calls.lists += after.lists - before.lists;
        calls.begins += after.begins - before.begins;
    }

private:
    ReferenceRenderer lists;
};

// `count` random shapes from seed 1, each with `samples` steps when that is
// not 0.
Population seededShapes(int count, int samples)
{
    seedShapeRandom(1);
    Population shapes;
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<SuperFormula> shape(randomSuperFormula());
        if (samples != 0)
            shape->samples = samples;
        shapes.push_back(std::move(*shape));
    }
    return shapes;
}

// Shows `world` at `side` pixels square, then gives it `shapes`.
bool setUpWorld(benchmark::State& state, BenchWorld& world, int side, Population shapes)
{
    world.resize(side, side);
    world.show();
    if (!QTest::qWaitForWindowExposed(&world)) {
        state.SkipWithError("the world view was never exposed");
        return false;
    }
    world.world().replace(std::move(shapes));
    return true;
}

// CPU time of every thread of the process, the rasteriser's included, in ms.
double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void tick(BenchWorld& world)
{
    world.tick();
    QCoreApplication::processEvents();
}

// Runs the world on its own timer, as the program does, until a frame shows
// every shape: the first frame evaluates every outline, or hands them to the
// renderer's threads. Each turn of the event loop is timed, ticks included:
// the longest is as long as input may have waited.
void loadFully(benchmark::State& state, BenchWorld& world)
{
    std::vector<double> turns;
    world.framesDrawn = 0;
    world.toggleTicking();
    QElapsedTimer clock;
    clock.start();
    while (world.framesDrawn == 0 || world.renderer().lastFrame().leftOut > 0) {
        QElapsedTimer turn;
        turn.start();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        turns.push_back(turn.nsecsElapsed() / 1e6);
    }
    state.counters["full_frame_ms"] = clock.nsecsElapsed() / 1e6;
    world.toggleTicking();
    std::sort(turns.begin(), turns.end());
    state.counters["loading_turn_ms"] = turns[turns.size() / 2];
    state.counters["loading_longest_ms"] = turns.back();
}

void runFrames(benchmark::State& state, BenchWorld& world)
{
    loadFully(state, world);
    world.drawNanoseconds = 0;
    world.framesDrawn = 0;
    world.calls = {};

    QElapsedTimer clock;
    clock.start();
    const double cpuStart = processCpuMs();
    for (auto _ : state)
        tick(world);
    const double frames = static_cast<double>(state.iterations());
    const double frameMs = clock.nsecsElapsed() / 1e6 / frames;
    const double drawMs = world.drawNanoseconds / 1e6 / frames;
    state.counters["cpu_ms"] = (processCpuMs() - cpuStart) / frames;
    state.counters["fps"] = 1000.0 / frameMs;
    state.counters["frame_ms"] = frameMs;
    state.counters["draw_ms"] = drawMs;
    state.counters["draw_share"] = drawMs / frameMs;
    state.counters["us_per_shape"] = frameMs * 1000.0 / double(world.world().size());
    const double drawn = std::max(world.framesDrawn, 1);
    state.counters["draw_calls"] = world.calls.total() / drawn;
    state.counters["begins"] = world.calls.begins / drawn;
    if (!world.drawAsBefore)
        state.counters["vertices"] = double(world.renderer().lastFrame().vertices);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = usage.ru_maxrss / 1024.0;
}

void WorldFrame(benchmark::State& state)
{
    BenchWorld world;
    world.drawAsBefore = state.range(2) == 0;
    if (setUpWorld(state, world, int(state.range(1)), seededShapes(int(state.range(0)), 0)))
        runFrames(state, world);
}
BENCHMARK(WorldFrame)
    ->ArgNames({"shapes", "side", "renderer"})
    ->ArgsProduct({{20, 200, 600}, {800, 100}, {0, 1}})
    ->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMillisecond);

void WorldFrameDense(benchmark::State& state)
{
    BenchWorld world;
    if (setUpWorld(state, world, int(state.range(0)), seededShapes(600, SuperFormula::maxSamples - 1)))
        runFrames(state, world);
}
BENCHMARK(WorldFrameDense)
    ->ArgNames({"side"})
    ->Arg(800)->Arg(100)
    ->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
