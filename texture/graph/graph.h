#pragma once

#include "texture/colour/colour_basis.h"
#include "texture/graph/json_reader.h"
#include "texture/scalar/basis.h"
#include "texture/scalar/node_type.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tex {

// Texture graphs in JSON files, read into an object that owns its nodes and
// written back: the format of texbake's graph files (see the README, "Graph
// files"). Any program can read one and bake its output:
//
//     tex::GraphError error;
//     std::optional<tex::Graph> graph = tex::readGraph(text, error);
//     if (!graph)
//         std::cerr << error.describe("background.json") << '\n';
//     else if (tex::ColourBasis* colour = graph->output().colour.get())
//         tex::bakePixels(*colour, grid, tex::Channels::RGBA, pixels);

// The format's name and the version this library reads and writes.
constexpr const char* graphFormat = "texbake-graph";
constexpr int graphVersion = 1;

// What a graph may ask for before it is refused.
struct GraphLimits {
    // The text: 16 MiB, nesting 64 deep.
    JsonLimits json;
    // The longest chain of inputs, in nodes: evaluation recurses along it.
    int maxDepth = 1000;
    // The highest price of one sample of the output, in nanoseconds of one
    // core (see SampleCost and docs/cost-model.md): 1 ms. Prices are set at
    // or above what each node type was measured to take, so that no graph
    // accepted runs much past this: the costliest found by a search of
    // random graphs ran at 1.5 ms or less a sample.
    std::uint64_t maxCost = 1000000;
    // The most colour stops a file may hold, all its nodes together.
    std::size_t maxStops = 4096;
    // When set and true, reading stops at its next look (every few
    // thousand values of the text, every node) and the graph is refused as
    // interrupted. A signal handler or another thread may set it.
    const std::atomic<bool>* cancel = nullptr;
};

// Why a graph was refused, and where: malformed text by line and column,
// everything else by the JSON pointer of the value at fault.
using GraphError = JsonError;

// A parameter as the file sets it.
struct ParameterSetting {
    // An entry of the node type's parameter list.
    const ParameterInfo* info;
    ParameterValue value;
};

// One node of a graph: what the file says of it and, when the output
// reaches it, the texture function built from that.
struct GraphNode {
    std::string id;
    const NodeType* type;
    // In the order of type->arguments.
    ArgumentValues arguments;
    // The parameters the file sets, in the order of the type's list.
    std::vector<ParameterSetting> parameters;
    // The nodes wired in (indices into Graph::nodes()), in the order of
    // type->inputs: scalar inputs, then colour inputs.
    std::vector<std::size_t> inputs;
    // The colour stops of a colour map, rows of position, r, g, b, a.
    std::vector<double> stops;
    // Built only where the output reaches the node: one of the two, by
    // type->kind, with its parameters set, its inputs wired and its stops
    // filled. Nodes the output does not reach are checked alike but never
    // built, so they cost nothing.
    std::unique_ptr<Basis> field;
    std::unique_ptr<ColourBasis> colour;
};

// A texture graph that passed every check of readGraph: it owns its nodes,
// and its output's graph is completely wired. Evaluating the output reads
// the nodes and changes none; the graph may not be changed.
class Graph {
public:
    const std::vector<GraphNode>& nodes() const { return all; }
    const GraphNode& output() const { return all[outputIndex]; }
    // The node with this id, or null.
    const GraphNode* find(std::string_view id) const;
    // What one sample of the output is priced at, in nanoseconds of one core
    // (see GraphLimits::maxCost).
    std::uint64_t cost() const { return sampleCost; }

private:
    friend class GraphReader;
    Graph() = default;

    std::vector<GraphNode> all;
    std::size_t outputIndex = 0;
    std::uint64_t sampleCost = 0;
};

// Reads a graph file's text and checks all of it: the JSON (see readJson),
// the format, every node whether the output reaches it or not (its id, valid
// UTF-8 without control characters; its type, arguments, parameters, inputs
// and stops against the catalogue), the stops a file holds, cycles,
// the depth and the cost of the output (see GraphLimits), naming the
// costliest path when it is too high. Returns the graph with the nodes the
// output reaches built; none, with `error` set, when anything is wrong.
std::optional<Graph> readGraph(std::string_view text, GraphError& error, const GraphLimits& limits = {});

// The graph as a graph file: one line a node (a colour map's stops one line
// each), keys in a fixed order, every constructor argument, the parameters
// as the file set them, real numbers in the shortest text that reads back
// as the same double. readGraph gives back the same graph, and writing that
// gives the same text.
std::string writeGraph(const Graph& graph);

} // namespace tex
