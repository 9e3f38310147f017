// A random search for the graph that runs longest for its price: what shows
// that the price bound (GraphLimits::maxCost) bounds the time of a sample.
//
//   build/bin/cost_search_bench                   10^5 graphs
//   build/bin/cost_search_bench --benchmark_filter=/1000$   a quick look
//
// Each graph is drawn from the catalogue: 1 to 24 nodes of random types,
// each wired to earlier nodes of the right kind, every argument and
// parameter drawn from its whole range (colour maps of 2 to 4096 stops),
// the last node the output. Graphs the reader refuses are counted and
// skipped. Each accepted one is baked, one thread, over 8 x 8 samples (4
// where dear) spaced 0.25 or 1024 units apart, by this thread's processor
// time. The 20 with the highest time / price among those priced at 20 µs
// or more (below that a bake's own overhead dominates) are baked again over
// 16 x 16 samples, and the highest of those is reported:
//
//   worst_ratio      its measured / priced time a sample
//   worst_ns         its measured time a sample
//   at_bound_ms      worst_ratio × maxCost: the time a sample of a graph as
//                    unfavourable, priced at the bound, would take
//   slowest_ns       the slowest sample of any graph searched
//   refused          the graphs the reader refused (price, stops)
//
// and the worst graph's text goes to standard error.
#include "texture/bake/memory_bake.h"
#include "texture/texture_graph.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

using namespace tex;

namespace {

double threadSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

std::string number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// A random graph file over the catalogue's types.
std::string randomGraph(std::mt19937_64& gen)
{
    const std::vector<const NodeType*>& types = nodeTypes();
    std::uniform_int_distribution<int> nodeCount(1, 24);
    const int count = nodeCount(gen);
    std::vector<NodeKind> kinds;
    std::string nodes;
    for (int i = 0; i < count; ++i) {
        // A type whose inputs earlier nodes can give.
        const NodeType* type = nullptr;
        for (;;) {
            type = types[std::uniform_int_distribution<std::size_t>(0, types.size() - 1)(gen)];
            bool wired = true;
            for (const InputInfo& input : type->inputs)
                wired = wired && std::find(kinds.begin(), kinds.end(), input.kind) != kinds.end();
            if (wired)
                break;
        }
        std::string node = R"({"id": "n)" + std::to_string(i) + R"(", "type": ")" + type->name + "\"";
        for (const ArgumentInfo& argument : type->arguments) {
            double value;
            if (argument.kind == ArgumentInfo::Kind::Real) {
                value = std::uniform_real_distribution<double>(argument.min, argument.max)(gen);
            } else if (argument.kind == ArgumentInfo::Kind::PowerOfTwo) {
                int top = 0;
                while (std::ldexp(1.0, top + 1) <= argument.max)
                    ++top;
                value = std::ldexp(1.0, std::uniform_int_distribution<int>(0, top)(gen));
            } else {
                value = double(std::uniform_int_distribution<long long>((long long)(argument.min),
                                                                        (long long)(argument.max))(gen));
            }
            node += ", \"" + std::string(argument.name) + "\": " + number(value);
        }
        std::string parameters;
        for (const ParameterInfo& info : *type->parameters) {
            if (std::bernoulli_distribution(0.4)(gen))
                continue;
            const std::string value = info.kind == ParameterInfo::integerKind
                ? std::to_string(std::uniform_int_distribution<int>(info.min.intValue, info.max.intValue)(gen))
                : number(std::uniform_real_distribution<double>(info.min.realValue, info.max.realValue)(gen));
            parameters += (parameters.empty() ? "" : ", ") + ("\"" + info.name + "\": ") + value;
        }
        if (!parameters.empty())
            node += ", \"parameters\": {" + parameters + "}";
        std::string inputs[2];
        for (const InputInfo& input : type->inputs) {
            std::vector<int> candidates;
            for (int k = 0; k < i; ++k)
                if (kinds[std::size_t(k)] == input.kind)
                    candidates.push_back(k);
            // Mostly the nearest, so that chains grow deep.
            const int pick = std::bernoulli_distribution(0.6)(gen)
                ? candidates.back()
                : candidates[std::uniform_int_distribution<std::size_t>(0, candidates.size() - 1)(gen)];
            std::string& list = inputs[input.kind == NodeKind::Field ? 0 : 1];
            list += (list.empty() ? "\"n" : ", \"n") + std::to_string(pick) + "\"";
        }
        if (!inputs[0].empty())
            node += ", \"inputs\": [" + inputs[0] + "]";
        if (!inputs[1].empty())
            node += ", \"colourInputs\": [" + inputs[1] + "]";
        if (type->stops) {
            const int stops = std::bernoulli_distribution(0.1)(gen)
                ? std::uniform_int_distribution<int>(2, 4096)(gen)
                : std::uniform_int_distribution<int>(2, 16)(gen);
            std::uniform_real_distribution<double> component(-0.5, 1.5);
            node += ", \"stops\": [";
            for (int k = 0; k < stops; ++k)
                node += (k ? ", [" : "[") + number(double(k) / (stops - 1)) + ", " + number(component(gen)) + ", "
                    + number(component(gen)) + ", " + number(component(gen)) + ", " + number(component(gen)) + "]";
            node += "]";
        }
        nodes += (i ? ", " : "") + node + "}";
        kinds.push_back(type->kind);
    }
    return R"({"format": "texbake-graph", "version": 1, "nodes": [)" + nodes + R"(], "output": "n)"
        + std::to_string(count - 1) + "\"}";
}

// The processor time of one sample of `graph`, baked over side x side
// samples `spacing` apart.
double nsPerSample(const Graph& graph, int side, double spacing)
{
    const Grid grid = Grid::flat(side, side, spacing * side, 0.375, 0.625, 0.125);
    std::vector<float> out(std::size_t(side) * side * 4);
    BakeOptions options;
    options.threads = 1;
    options.samplePrice = graph.cost();
    const double start = threadSeconds();
    if (graph.output().field)
        bakeFloats(*graph.output().field, grid, out.data(), options);
    else
        bakeFloats(*graph.output().colour, grid, out.data(), options);
    benchmark::DoNotOptimize(out.data());
    return 1e9 * (threadSeconds() - start) / double(side * side);
}

struct Found {
    double ratio;
    std::string text;
    double spacing;
};

void search(benchmark::State& state)
{
    const long long graphs = state.range(0);
    std::mt19937_64 gen(20261207);
    long long refused = 0;
    double slowest = 0;
    std::vector<Found> worst;
    for (auto _ : state) {
        for (long long g = 0; g < graphs; ++g) {
            const std::string text = randomGraph(gen);
            GraphError error;
            const std::optional<Graph> graph = readGraph(text, error);
            if (!graph) {
                ++refused;
                continue;
            }
            const double spacing = std::bernoulli_distribution(0.5)(gen) ? 0.25 : 1024.0;
            const int side = graph->cost() > 200000 ? 2 : 8;
            const double ns = nsPerSample(*graph, side, spacing);
            slowest = std::max(slowest, ns);
            if (graph->cost() < 20000)
                continue;
            worst.push_back({ns / double(graph->cost()), text, spacing});
            std::sort(worst.begin(), worst.end(), [](const Found& a, const Found& b) { return a.ratio > b.ratio; });
            if (worst.size() > 20)
                worst.pop_back();
        }
    }
    // The candidates again, over more samples.
    Found top{0, "", 0};
    double topNs = 0;
    for (Found& candidate : worst) {
        GraphError error;
        const std::optional<Graph> graph = readGraph(candidate.text, error);
        const double ns = nsPerSample(*graph, graph->cost() > 200000 ? 8 : 16, candidate.spacing);
        if (ns / double(graph->cost()) > top.ratio) {
            top = {ns / double(graph->cost()), candidate.text, candidate.spacing};
            topNs = ns;
        }
    }
    state.counters["worst_ratio"] = top.ratio;
    state.counters["worst_ns"] = topNs;
    state.counters["at_bound_ms"] = top.ratio * double(GraphLimits().maxCost) / 1e6;
    state.counters["slowest_ns"] = slowest;
    state.counters["refused"] = double(refused);
    std::fprintf(stderr, "worst graph (spacing %g):\n%s\n", top.spacing, top.text.c_str());
}
BENCHMARK(search)->Arg(1000)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
