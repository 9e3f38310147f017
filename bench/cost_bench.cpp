// What a sample costs, node type by node type, beside the price the graph
// reader puts on it (see SampleCost and docs/cost-model.md); and colour
// spline runs over many stops beside runs over a few.
//
//   build/bin/cost_bench
//
// "Node" rows bake a small graph holding the type (its inputs gradient noise,
// or colour maps over it) over 64 x 64 samples, one thread, by this
// thread's processor time, at two spacings: "near" (0.25 units apart, as a
// texture bake samples) and "far" (1000.37 units apart, where no two samples
// share lattice cells or Voronoi cells, the dearest case). measured_ns is
// what the type itself takes a sample, its inputs' times taken off (per
// octave for the fractal sums); priced_ns is what the reader prices that at
// the same way; ratio = measured / priced. The prices in the node types are
// set from these rows so that ratio stays at or below 1 at both spacings,
// with room for a loaded machine.
//
// "ShortRuns" rows time a chain of 100 nodes of one type, and an FBM's
// octaves, in runs of at most 1, 4, 16 and 256 samples: what a node costs
// where samples are so dear that runs are short (a graph at the bound runs
// in runs of 4). "Graph" rows bake whole graphs near or past the bound.
//
// "SplineRun" rows time ColourSpline::evaluateRun over the same 256
// positions for a spline of N stops and, in alternating blocks, one of 4
// stops: ratio = N stops / 4 stops, which grows with the logarithm of N
// only, as the lookup tables are built once by setStops.
#include "support/colour_spline.h"
#include "texture/bake/memory_bake.h"
#include "texture/texture_graph.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace tex;

namespace {

constexpr int side = 64;

// This thread's processor time in seconds.
double threadSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

std::string graphText(const std::string& nodes, const std::string& output)
{
    return R"({"format": "texbake-graph", "version": 1, "nodes": [)" + nodes + R"(], "output": ")" + output
        + "\"}";
}

Graph readOrDie(const std::string& text)
{
    GraphLimits limits;
    limits.maxCost = std::numeric_limits<std::uint64_t>::max();
    limits.maxStops = std::numeric_limits<std::size_t>::max();
    GraphError error;
    std::optional<Graph> graph = readGraph(text, error, limits);
    if (!graph) {
        std::fprintf(stderr, "cost_bench: %s\n", error.describe("graph").c_str());
        std::abort();
    }
    return std::move(*graph);
}

// A graph's time a sample in ns (the least of three measurements of at
// least 20 ms each) and its price.
struct Timing {
    double ns;
    double price;
};

Timing timeGraph(const std::string& text, double extent, int run = 0)
{
    const Graph graph = readOrDie(text);
    const Grid grid = Grid::flat(side, side, extent, 0.5, 0.25, 0.375);
    std::vector<float> out(std::size_t(side) * side * 4);
    BakeOptions options;
    options.threads = 1;
    // Runs of `run` samples at most: a price that allows no more.
    if (run > 0)
        options.samplePrice = runBudget / std::uint64_t(run);
    double best = std::numeric_limits<double>::max();
    for (int repeat = 0; repeat < 3; ++repeat) {
        const double start = threadSeconds();
        long long samples = 0;
        do {
            if (graph.output().field)
                bakeFloats(*graph.output().field, grid, out.data(), options);
            else
                bakeFloats(*graph.output().colour, grid, out.data(), options);
            benchmark::DoNotOptimize(out.data());
            samples += side * side;
        } while (threadSeconds() - start < 0.02);
        best = std::min(best, 1e9 * (threadSeconds() - start) / double(samples));
    }
    return {best, double(graph.cost())};
}

// The inputs a case may name: two noises, and colour maps over each.
const std::string noiseN = R"({"id": "n", "type": "Noise", "seed": 1})";
const std::string noiseM = R"({"id": "m", "type": "Noise", "seed": 2})";
const std::string mapC = noiseN
    + R"(, {"id": "c", "type": "ColourMap", "inputs": ["n"], "stops": [[0, 0, 0, 0, 1], [1, 1, 0.5, 0.2, 1]]})";
const std::string mapD = noiseM
    + R"(, {"id": "d", "type": "ColourMap", "inputs": ["m"], "stops": [[0, 1, 1, 1, 1], [1, 0, 0.5, 0.7, 1]]})";

std::string stopsText(int count)
{
    std::string text;
    for (int k = 0; k < count; ++k)
        text += std::string(k ? ", " : "") + "[" + std::to_string(double(k) / (count - 1)) + ", "
            + std::to_string(k % 3 / 2.0) + ", 0.5, " + std::to_string(k % 5 / 4.0) + ", 1]";
    return text;
}

struct Case {
    std::string name;
    // The node "out" after the inputs it names.
    std::string inputs;
    std::string node;
    // The graphs of its inputs, timed alone and taken off.
    std::vector<std::string> alone;
    // Octaves: the type's own share is per octave.
    int repeats = 1;
};

std::vector<Case> cases()
{
    const auto out = [](const std::string& body) { return R"({"id": "out", )" + body + "}"; };
    const std::string n = graphText(noiseN, "n");
    const std::string c = graphText(mapC, "c");
    const std::string d = graphText(mapD, "d");
    const std::string m = graphText(noiseM, "m");
    std::vector<Case> all = {
        {"Noise", "", out(R"("type": "Noise", "seed": 1)"), {}},
        {"FBM", noiseN, out(R"("type": "FBM", "inputs": ["n"], "parameters": {"octaves": 16})"), {n}, 16},
        {"Turbulence", "", out(R"("type": "Turbulence", "seed": 1, "parameters": {"octaves": 16})"), {}, 16},
        {"Voronoi/density:0", "", out(R"("type": "Voronoi", "seed": 1, "density": 0)"), {}},
        {"Voronoi/density:1.5", "", out(R"("type": "Voronoi", "seed": 1, "density": 1.5)"), {}},
        {"Voronoi/density:5", "", out(R"("type": "Voronoi", "seed": 1, "density": 5)"), {}},
        {"Sphere", "", out(R"("type": "Sphere")"), {}},
        {"Checker", "", out(R"("type": "Checker")"), {}},
        {"BPerturber", noiseN + ", " + noiseM,
         out(R"("type": "BPerturber", "inputs": ["n", "m"], "parameters": {"xperturb": 10, "yperturb": 10})"),
         {n, m}},
        {"BLerper", noiseN + ", " + noiseM, out(R"("type": "BLerper", "inputs": ["n", "m"])"), {n, m}},
        {"BDarken", noiseN + ", " + noiseM, out(R"("type": "BDarken", "inputs": ["n", "m"])"), {n, m}},
        {"BScaler", noiseN, out(R"("type": "BScaler", "inputs": ["n"])"), {n}},
        {"BGainer", noiseN, out(R"("type": "BGainer", "inputs": ["n"], "parameters": {"gain": 0.8})"), {n}},
        {"BStepper", noiseN, out(R"("type": "BStepper", "inputs": ["n"])"), {n}},
        {"Flagstone", "", out(R"("type": "Flagstone", "cellSeed": 1, "grainSeed": 2)"), {}},
        {"CMixer", mapC + ", " + mapD, out(R"("type": "CMixer", "inputs": ["n"], "colourInputs": ["c", "d"])"),
         {n, c, d}},
        {"CDarken", mapC, out(R"("type": "CDarken", "inputs": ["n"], "colourInputs": ["c"])"), {n, c}},
        {"Marble", noiseN, out(R"("type": "Marble", "inputs": ["n"], "stops": [)" + stopsText(4) + "]"), {n}},
    };
    for (int stops : {2, 64, 4096})
        all.push_back({"ColourMap/stops:" + std::to_string(stops), noiseN,
                       out(R"("type": "ColourMap", "inputs": ["n"], "stops": [)" + stopsText(stops) + "]"), {n}});
    return all;
}

void nodeRow(benchmark::State& state, const Case& c, double extent)
{
    Timing own{};
    for (auto _ : state) {
        const std::string nodes = c.inputs.empty() ? c.node : c.inputs + ", " + c.node;
        const Timing whole = timeGraph(graphText(nodes, "out"), extent);
        own = {whole.ns / c.repeats, whole.price / c.repeats};
        for (const std::string& input : c.alone) {
            const Timing alone = timeGraph(input, extent);
            own.ns -= alone.ns;
            own.price -= alone.price;
        }
    }
    state.counters["measured_ns"] = own.ns;
    state.counters["priced_ns"] = own.price;
    state.counters["ratio"] = own.ns / own.price;
}

// A whole graph: measured / priced.
void graphRow(benchmark::State& state, const std::string& text, double extent)
{
    Timing whole{};
    for (auto _ : state)
        whole = timeGraph(text, extent);
    state.counters["measured_ns"] = whole.ns;
    state.counters["priced_ns"] = whole.price;
    state.counters["ratio"] = whole.ns / whole.price;
}

// Graphs at the price bound that stress what a type's row does not: deep
// chains (whose runs shrink as samples grow dear), octaves over octaves.
std::vector<std::pair<std::string, std::string>> boundGraphs()
{
    std::string gainers = noiseN;
    std::string below = "n";
    for (int i = 0; i < 990; ++i) {
        const std::string id = "g" + std::to_string(i);
        gainers += R"(, {"id": ")" + id + R"(", "type": "BGainer", "inputs": [")" + below
            + R"("], "parameters": {"gain": 0.7}})";
        below = id;
    }
    const auto fbm = [](const std::string& id, const std::string& source, int octaves) {
        return R"(, {"id": ")" + id + R"(", "type": "FBM", "inputs": [")" + source
            + R"("], "parameters": {"octaves": )" + std::to_string(octaves) + "}}";
    };
    std::string diamond = noiseN;
    for (int i = 1; i <= 11; ++i)
        diamond += R"(, {"id": "d)" + std::to_string(i) + R"(", "type": "BLerper", "inputs": [")"
            + (i == 1 ? std::string("n") : "d" + std::to_string(i - 1)) + R"(", ")"
            + (i == 1 ? std::string("n") : "d" + std::to_string(i - 1)) + R"("]})";
    std::string voronoi = R"({"id": "v", "type": "Voronoi", "seed": 1, "density": 5})";
    return {
        {"FBM16xFBM16xFBM8/Noise", graphText(noiseN + fbm("f1", "n", 16) + fbm("f2", "f1", 16) + fbm("f3", "f2", 8), "f3")},
        {"FBM4/BGainer990/Noise", graphText(gainers + fbm("f1", below, 4), "f1")},
        {"BLerper2^11/Noise", graphText(diamond, "d11")},
        {"FBM16xFBM16/Voronoi5", graphText(voronoi + fbm("f1", "v", 16) + fbm("f2", "f1", 16), "f2")},
    };
}

// A chain of 100 nodes of one type (with one input) over a sphere, in runs of at most
// range(0) samples: what a node costs a sample where samples are so dear
// that runs are short, and each call's own work is shared by few samples.
void shortRunRow(benchmark::State& state, const std::string& type)
{
    std::string nodes = R"({"id": "c0", "type": "Sphere"})";
    for (int i = 1; i <= 100; ++i)
        nodes += R"(, {"id": "c)" + std::to_string(i) + R"(", "type": ")" + type + R"(", "inputs": ["c)"
            + std::to_string(i - 1) + "\"]}";
    const int run = int(state.range(0));
    Timing chain{}, sphere{};
    for (auto _ : state) {
        chain = timeGraph(graphText(nodes, "c100"), 16.0, run);
        sphere = timeGraph(graphText(R"({"id": "c0", "type": "Sphere"})", "c0"), 16.0, run);
    }
    const double perNode = (chain.ns - sphere.ns) / 100;
    const double price = (chain.price - sphere.price) / 100;
    state.counters["measured_ns"] = perNode;
    state.counters["priced_ns"] = price;
    state.counters["ratio"] = perNode / price;
}

// An FBM of 16 octaves over a sphere in runs of at most range(0) samples:
// its own work an octave.
void shortRunFbmRow(benchmark::State& state)
{
    const int run = int(state.range(0));
    Timing fbm{}, sphere{};
    for (auto _ : state) {
        fbm = timeGraph(graphText(R"({"id": "s", "type": "Sphere"}, {"id": "f", "type": "FBM", "inputs": ["s"],
                                     "parameters": {"octaves": 16, "lacunarity": 1.9}})",
                                  "f"),
                        16.0, run);
        sphere = timeGraph(graphText(R"({"id": "s", "type": "Sphere"})", "s"), 16.0, run);
    }
    state.counters["measured_ns"] = fbm.ns / 16 - sphere.ns;
    state.counters["priced_ns"] = fbm.price / 16 - sphere.price;
    state.counters["ratio"] = (fbm.ns / 16 - sphere.ns) / (fbm.price / 16 - sphere.price);
}

void splineRow(benchmark::State& state)
{
    const int stops = int(state.range(0));
    const auto spline = [](int count) {
        std::vector<double> table;
        for (int k = 0; k < count; ++k)
            for (double v : {double(k) / (count - 1), k % 3 / 2.0, 0.5, k % 5 / 4.0, 1.0})
                table.push_back(v);
        ColourSpline s;
        s.setStops(table.data(), count);
        return s;
    };
    const ColourSpline many = spline(stops);
    const ColourSpline few = spline(4);
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> position(0.0, 1.0);
    std::vector<double> x(256);
    for (double& p : x)
        p = position(gen);
    std::vector<Colour> out(x.size(), Colour(0, 0, 0, 0));
    double manySeconds = 0, fewSeconds = 0;
    long long runs = 0;
    for (auto _ : state) {
        double start = threadSeconds();
        for (int i = 0; i < 64; ++i)
            many.evaluateRun(x.data(), out.data(), x.size());
        manySeconds += threadSeconds() - start;
        start = threadSeconds();
        for (int i = 0; i < 64; ++i)
            few.evaluateRun(x.data(), out.data(), x.size());
        fewSeconds += threadSeconds() - start;
        benchmark::DoNotOptimize(out.data());
        runs += 64;
    }
    state.counters["ns_per_lookup"] = 1e9 * manySeconds / double(runs * x.size());
    state.counters["ratio"] = manySeconds / fewSeconds;
}

const bool registered = [] {
    for (const Case& c : cases()) {
        benchmark::RegisterBenchmark(("Node/" + c.name + "/near").c_str(),
                                     [c](benchmark::State& s) { nodeRow(s, c, 16.0); })
            ->Iterations(1);
        benchmark::RegisterBenchmark(("Node/" + c.name + "/far").c_str(),
                                     [c](benchmark::State& s) { nodeRow(s, c, 64023.68); })
            ->Iterations(1);
    }
    for (const auto& [name, text] : boundGraphs()) {
        const std::string graph = text;
        benchmark::RegisterBenchmark(("Graph/" + name + "/near").c_str(),
                                     [graph](benchmark::State& s) { graphRow(s, graph, 16.0); })
            ->Iterations(1);
        benchmark::RegisterBenchmark(("Graph/" + name + "/far").c_str(),
                                     [graph](benchmark::State& s) { graphRow(s, graph, 64023.68); })
            ->Iterations(1);
    }
    for (const char* type : {"BGainer", "BScaler", "BStepper"})
        benchmark::RegisterBenchmark((std::string("ShortRuns/") + type).c_str(),
                                     [type](benchmark::State& s) { shortRunRow(s, type); })
            ->Arg(1)->Arg(4)->Arg(16)->Arg(256)->Iterations(1);
    benchmark::RegisterBenchmark("ShortRuns/FBM", shortRunFbmRow)->Arg(1)->Arg(4)->Arg(16)->Arg(256)->Iterations(1);
    benchmark::RegisterBenchmark("SplineRun", splineRow)->Arg(4)->Arg(64)->Arg(4096)->Arg(760000);
    return true;
}();

} // namespace

BENCHMARK_MAIN();
