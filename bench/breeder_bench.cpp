// The texture breeder's litter: nine 128 x 128 previews of a gallery graph's
// litter (the parent and eight mutants at rate 0.5, seed 1), baked by the
// breeder's preview bakes until the last is in. The goal is a litter within
// 1 s on 2 cores: `of_goal` is the litter's time over that second.
//
// BM_Litter bakes on 2 workers, as the window does on a 2-core machine;
// BM_LitterOneWorker is the baseline of the same litter on 1, so that the
// ratio of the two rows in one run shows what the second core brings.
// BM_BreedLitter times the breeding alone (mutation, and reading and
// writing each mutant), the part a click waits for.
#include "breeder/litter.h"
#include "breeder/preview_bakes.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>

namespace {

const char* const graphs[] = {"world_background", "planet",          "mossy_flagstone", "marble_turbulence",
                              "perturbed_fbm",    "voronoi",         "flagstone",       "c_mixer"};

breeder::BredGraph galleryGraph(const char* name)
{
    std::ifstream file(std::string(GALLERY_DIR) + "/" + name + ".json");
    std::stringstream text;
    text << file.rdbuf();
    tex::GraphError error;
    std::optional<breeder::BredGraph> graph = breeder::readBredGraph(text.str(), error);
    if (!graph)
        throw std::runtime_error(error.describe(name));
    return *graph;
}

std::vector<std::shared_ptr<const tex::Graph>> litterOf(const char* name)
{
    tex::Random random(1);
    std::vector<std::shared_ptr<const tex::Graph>> litter;
    for (const breeder::BredGraph& graph : breeder::breedLitter(galleryGraph(name), 0.5, random))
        litter.push_back(graph.graph);
    return litter;
}

void bakeLitter(benchmark::State& state, int workers)
{
    const char* name = graphs[state.range(0)];
    const std::vector<std::shared_ptr<const tex::Graph>> litter = litterOf(name);
    std::mutex mutex;
    std::condition_variable done;
    int ready = 0;
    breeder::PreviewBakes bakes(tex::Grid::flat(128, 128, 16.0, 0.0, 0.0, 0.0), workers,
                                [&](int, int, std::vector<std::uint8_t>) {
                                    const std::lock_guard<std::mutex> lock(mutex);
                                    ++ready;
                                    done.notify_one();
                                });
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        {
            const std::lock_guard<std::mutex> lock(mutex);
            ready = 0;
        }
        bakes.bake(litter);
        std::unique_lock<std::mutex> lock(mutex);
        done.wait(lock, [&] { return ready == int(litter.size()); });
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.SetLabel(name);
    state.counters["of_goal"] = seconds / double(state.iterations()) / 1.0;
    state.SetItemsProcessed(state.iterations() * std::int64_t(litter.size()));
}

void BM_Litter(benchmark::State& state)
{
    bakeLitter(state, 2);
}

void BM_LitterOneWorker(benchmark::State& state)
{
    bakeLitter(state, 1);
}

void BM_BreedLitter(benchmark::State& state)
{
    const char* name = graphs[state.range(0)];
    const breeder::BredGraph parent = galleryGraph(name);
    tex::Random random(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(breeder::breedLitter(parent, 0.5, random));
    state.SetLabel(name);
}

void everyGraph(benchmark::internal::Benchmark* bench)
{
    for (int g = 0; g < int(std::size(graphs)); ++g)
        bench->Arg(g);
}

} // namespace

BENCHMARK(BM_Litter)->Apply(everyGraph)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LitterOneWorker)->Apply(everyGraph)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BreedLitter)->Apply(everyGraph)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
