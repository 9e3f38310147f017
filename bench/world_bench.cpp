// The world view's cost per frame with 20, 200 and 600 shapes (the
// population cap, the most the world holds): each
// iteration is one tick (every shape animated, then a synchronous repaint,
// buffer swap included), in a view 800 and 100 pixels square. The same
// calls draw 64 times fewer pixels in the small view, so the difference
// between the two sizes is what rasterising costs; paintGL_share is the part
// of a frame spent inside paintGL. Needs a display: run it under xvfb-run.
//
// renderer 0 draws each shape from its display list and immediate-mode eye,
// as the world view does; renderer 1 draws the same world with the batched
// CreatureRenderer, which thins outlines and eyes to their size on screen.
// WorldFrameDense is the cap's worth of shapes of the largest sample count,
// for the batched renderer alone: the display lists of such a world take
// gigabytes. Its first_frame_ms includes evaluating every outline once;
// peak_rss_mb is the process's peak so far, so run it alone to read it.

#include "app/gl_widget.h"
#include "app/world_background.h"
#include "shape/creature_renderer.h"
#include "shape/shape_random.h"
#include "shape/super_formula.h"

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

namespace {

class BenchWorld : public GLWidget {
public:
    using GLWidget::addNewThing;
    using GLWidget::killAll;
    using GLWidget::update;

    qint64 paintNanoseconds = 0;
    bool batched = false;
    CreatureRenderer renderer;

protected:
    void paintGL() override
    {
        QElapsedTimer clock;
        clock.start();
        if (batched) {
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            drawBackground();
            glScaled(0.1, 0.1, 0.1);
            renderer.beginFrame();
            for (const SuperFormula* shape : population())
                renderer.add(*shape);
            renderer.finishFrame();
        } else {
            GLWidget::paintGL();
        }
        paintNanoseconds += clock.nsecsElapsed();
    }
};

// Shows `world` at `side` pixels square with `shapes` random shapes from
// seed 1, each with `samples` steps when that is not 0.
bool setUpWorld(benchmark::State& state, BenchWorld& world, int shapes, int side, int samples)
{
    world.resize(side, side);
    world.show();
    if (!QTest::qWaitForWindowExposed(&world)) {
        state.SkipWithError("the world view was never exposed");
        return false;
    }
    world.killAll();
    seedShapeRandom(1);
    for (int i = 0; i < shapes; ++i) {
        SuperFormula* shape = randomSuperFormula();
        if (samples != 0)
            shape->samples = samples;
        world.addNewThing(shape);
    }
    if (world.population().size() != std::size_t(shapes)) {
        state.SkipWithError("more shapes than the world holds");
        return false;
    }
    return true;
}

// CPU time of every thread of the process, the rasteriser's included, in
// ms: on a shared machine a steadier figure than the time a frame takes.
double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void runFrames(benchmark::State& state, BenchWorld& world)
{
    // The first paint compiles every display list, or evaluates every
    // outline; frames after it do not.
    QElapsedTimer firstFrame;
    firstFrame.start();
    world.update();
    state.counters["first_frame_ms"] = firstFrame.nsecsElapsed() / 1e6;
    world.paintNanoseconds = 0;

    QElapsedTimer clock;
    clock.start();
    const double cpuStart = processCpuMs();
    for (auto _ : state)
        world.update();
    const double frames = static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = (processCpuMs() - cpuStart) / frames;
    const double frameMs = clock.nsecsElapsed() / 1e6 / frames;
    const double paintMs = world.paintNanoseconds / 1e6 / frames;
    state.counters["fps"] = 1000.0 / frameMs;
    state.counters["frame_ms"] = frameMs;
    state.counters["paintGL_ms"] = paintMs;
    state.counters["paintGL_share"] = paintMs / frameMs;
    state.counters["us_per_shape"] = frameMs * 1000.0 / world.population().size();
    if (world.batched)
        state.counters["vertices"] = double(world.renderer.lastFrame().vertices);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = usage.ru_maxrss / 1024.0;
}

void WorldFrame(benchmark::State& state)
{
    BenchWorld world;
    world.batched = state.range(2) != 0;
    if (setUpWorld(state, world, int(state.range(0)), int(state.range(1)), 0))
        runFrames(state, world);
}
BENCHMARK(WorldFrame)
    ->ArgNames({"shapes", "side", "renderer"})
    ->ArgsProduct({{20, 200, GLWidget::populationCap}, {800, 100}, {0, 1}})
    ->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMillisecond);

void WorldFrameDense(benchmark::State& state)
{
    BenchWorld world;
    world.batched = true;
    if (setUpWorld(state, world, GLWidget::populationCap, int(state.range(0)), SuperFormula::maxSamples - 1))
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
