// texbake's throughput: a 4096 x 4096 bake of the world background's graph
// (a colour map over noise) through texbake's streaming path, band by band
// into an encoder writing to /dev/null, at 1 and 2 threads. Beside it the
// baseline: the same pixels baked by tex::bakePixels into one buffer, with
// no bands and no encoder. Items are texels, so items_per_second is texels
// per second. BM_ThreadSpeedup bakes at both thread counts in each
// iteration and reports their ratio.
//
// BM_ReadGraph reads graph files of 20,000 and 200,000 nodes (readGraph:
// strict JSON, every check, the output's nodes built), beside BM_ParseJson,
// nlohmann's own parse of the same text; items are nodes.
#include "tools/texbake/bake_stream.h"
#include "texture/texture_graph.h"
#include "tools/texbake/png_output.h"
#include "tools/texbake/ppm_output.h"

#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace texbake;

namespace {

const int side = 4096;

const char* const backgroundGraph = R"({"format": "texbake-graph", "version": 1,
    "nodes": [{"id": "noise", "type": "Noise", "seed": 1, "size": 16},
              {"id": "map", "type": "ColourMap", "inputs": ["noise"],
               "stops": [[0.0, 0.5, 0.2, 0.4, 0.1], [0.4, 0.5, 0.2, 0.4, 0.1],
                         [0.95, 0.8, 0.6, 0.2, 0.1], [1.0, 0.5, 0.2, 0.4, 0.1]]}],
    "output": "map"})";

enum class Output { Ppm, Png };

BakeJob jobFor(Output output, int threads)
{
    return BakeJob{tex::Grid::flat(side, side, 64.0, 0.0, 0.0, 0.0), tex::Region{0, 0, side, side},
                   output == Output::Ppm ? tex::Channels::RGB : tex::Channels::RGBA, Depth::Eight, threads};
}

tex::Graph backgroundGraphRead()
{
    tex::GraphError error;
    return std::move(*tex::readGraph(backgroundGraph, error));
}

// One whole bake to /dev/null; false if it failed.
bool bakeOnce(const tex::Graph& graph, Output output, int threads)
{
    const BakeJob job = jobFor(output, threads);
    std::unique_ptr<ImageSink> sink;
    if (output == Output::Ppm)
        sink = std::make_unique<PpmOutput>("/dev/null", side, side, Depth::Eight);
    else
        sink = std::make_unique<PngOutput>("/dev/null", side, side, job.channels, Depth::Eight);
    std::ostringstream silent;
    Progress progress(silent, false, 0);
    return bakeToSink(graph.output(), job, *sink, progress) == BakeResult::Done;
}

void BM_Texbake(benchmark::State& state, Output output)
{
    const tex::Graph graph = backgroundGraphRead();
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state)
        if (!bakeOnce(graph, output, threads))
            state.SkipWithError("the bake failed");
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK_CAPTURE(BM_Texbake, ppm, Output::Ppm)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Texbake, png, Output::Png)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: the same RGB pixels from one bakePixels call.
void BM_BakePixels(benchmark::State& state)
{
    const tex::Graph graph = backgroundGraphRead();
    const BakeJob job = jobFor(Output::Ppm, static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> pixels(std::size_t(side) * side * 3);
    for (auto _ : state) {
        tex::bakePixels(*graph.output().colour, job.grid, job.channels, pixels.data(),
                        tex::BakeOptions{job.region, job.threads});
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_BakePixels)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both thread counts in every iteration, so that the machine's load moves
// both alike: Mtexel/s at 1 and at 2 threads and their ratio.
void BM_ThreadSpeedup(benchmark::State& state, Output output)
{
    const tex::Graph graph = backgroundGraphRead();
    double seconds[2] = {0.0, 0.0};
    for (auto _ : state) {
        for (int threads = 1; threads <= 2; ++threads) {
            const auto start = std::chrono::steady_clock::now();
            if (!bakeOnce(graph, output, threads))
                state.SkipWithError("the bake failed");
            seconds[threads - 1] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    const double texels = double(state.iterations()) * side * side;
    state.counters["Mtexel/s@1"] = texels / seconds[0] / 1e6;
    state.counters["Mtexel/s@2"] = texels / seconds[1] / 1e6;
    state.counters["speedup"] = seconds[0] / seconds[1];
}
BENCHMARK_CAPTURE(BM_ThreadSpeedup, ppm, Output::Ppm)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ThreadSpeedup, png, Output::Png)->Unit(benchmark::kMillisecond)->UseRealTime();

// A graph of `count` nodes in fours: noise, an FBM over it, a checker, and a
// blend of the checker and the noise; the output is the last blend.
std::string manyNodes(int count)
{
    std::string text = R"({"format": "texbake-graph", "version": 1, "nodes": [)";
    for (int i = 0; i < count; ++i) {
        const std::string id = "\"n" + std::to_string(i) + "\"";
        const auto before = [i](int back) { return "\"n" + std::to_string(i - back) + "\""; };
        text += i == 0 ? "\n" : ",\n";
        switch (i % 4) {
        case 0:
            text += "{\"id\": " + id + ", \"type\": \"Noise\", \"seed\": " + std::to_string(i) + ", \"size\": 16}";
            break;
        case 1:
            text += "{\"id\": " + id + ", \"type\": \"FBM\", \"inputs\": [" + before(1)
                + "], \"parameters\": {\"octaves\": 4, \"contrast\": 1.5}}";
            break;
        case 2:
            text += "{\"id\": " + id + ", \"type\": \"Checker\", \"parameters\": {\"xscale\": 2.0}}";
            break;
        default:
            text += "{\"id\": " + id + ", \"type\": \"BLerper\", \"inputs\": [" + before(1) + ", " + before(3) + "]}";
        }
    }
    return text + "],\n\"output\": \"n" + std::to_string(count - 1) + "\"}";
}

void BM_ReadGraph(benchmark::State& state)
{
    const std::string text = manyNodes(int(state.range(0)));
    for (auto _ : state) {
        tex::GraphError error;
        std::optional<tex::Graph> graph = tex::readGraph(text, error);
        if (!graph)
            state.SkipWithError(error.describe("graph").c_str());
        benchmark::DoNotOptimize(graph);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["MB"] = double(text.size()) / 1e6;
}
BENCHMARK(BM_ReadGraph)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ParseJson(benchmark::State& state)
{
    const std::string text = manyNodes(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(nlohmann::json::parse(text));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseJson)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
