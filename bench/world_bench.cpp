// The world view's cost per frame with 20, 200 and 600 shapes (the
// population cap, the most the world holds): each iteration is one tick
// (every shape animated, then the frame drawn) and one turn of the event
// loop, in which Qt composes the window and swaps its buffers, in a view 800
// and 100 pixels square. The same calls draw 64 times fewer pixels in the
// small view, so the difference between the two sizes is what rasterising
// costs; draw_share is the part of a frame spent drawing it. Needs a
// display: run it under xvfb-run.

#include "app/world_view.h"
#include "shape/shape_random.h"
#include "shape/super_formula.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

namespace {

class BenchWorld : public WorldView {
public:
    qint64 drawNanoseconds = 0;

protected:
    void drawFrame() override
    {
        QElapsedTimer clock;
        clock.start();
        WorldView::drawFrame();
        drawNanoseconds += clock.nsecsElapsed();
    }
};

void WorldFrame(benchmark::State& state)
{
    BenchWorld world;
    world.resize(state.range(1), state.range(1));
    world.show();
    if (!QTest::qWaitForWindowExposed(&world)) {
        state.SkipWithError("the world view was never exposed");
        return;
    }
    world.killAll();
    seedShapeRandom(1);
    for (int i = 0; i < state.range(0); ++i)
        world.addNewThing(randomSuperFormula());
    if (world.population().size() != std::size_t(state.range(0))) {
        state.SkipWithError("more shapes than the world holds");
        return;
    }
    // The first frame compiles every display list; frames after it do not.
    world.tick();
    QCoreApplication::processEvents();
    world.drawNanoseconds = 0;

    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        world.tick();
        QCoreApplication::processEvents();
    }
    const double frames = static_cast<double>(state.iterations());
    const double frameMs = clock.nsecsElapsed() / 1e6 / frames;
    const double drawMs = world.drawNanoseconds / 1e6 / frames;
    state.counters["fps"] = 1000.0 / frameMs;
    state.counters["frame_ms"] = frameMs;
    state.counters["draw_ms"] = drawMs;
    state.counters["draw_share"] = drawMs / frameMs;
    state.counters["us_per_shape"] = frameMs * 1000.0 / state.range(0);
}
BENCHMARK(WorldFrame)
    ->ArgNames({"shapes", "side"})
    ->ArgsProduct({{20, 200, WorldView::populationCap}, {800, 100}})
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
