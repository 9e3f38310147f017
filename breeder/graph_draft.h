#pragma once

#include "texture/texture_graph.h"

#include <cstddef>
#include <string>
#include <vector>

namespace breeder {

// A texture graph that can be changed, node by node: what a tex::Graph holds
// of a graph file, without the built functions. Mutation works on drafts;
// graphText() turns one back into a graph file, which tex::readGraph checks
// (types, ranges, cycles, depth, cost) before anything bakes it.

struct DraftNode {
    std::string id;
    const tex::NodeType* type;
    // In the order of type->arguments.
    tex::ArgumentValues arguments;
    // Every parameter of the type, in the order of *type->parameters, at the
    // file's value or else the default.
    std::vector<tex::ParameterValue> parameters;
    // Indices into GraphDraft::nodes, in the order of type->inputs.
    std::vector<std::size_t> inputs;
    // Rows of position, r, g, b, a, for a type with stops.
    std::vector<double> stops;
};

struct GraphDraft {
    std::vector<DraftNode> nodes;
    std::size_t output = 0;
};

// The draft of a graph that was read: its nodes, the output's among them.
GraphDraft draftOf(const tex::Graph& graph);

// A node of `type` with every argument and parameter at its default and its
// inputs, ids and stops left for the caller to fill.
DraftNode defaultNode(const tex::NodeType& type);

// The draft as a graph file. Only the nodes the output reaches are written,
// in the draft's order except that each comes after its inputs; parameters
// at their defaults are left out.
std::string graphText(const GraphDraft& draft);

// The nodes the output reaches, each after its inputs.
std::vector<std::size_t> reachedInputsFirst(const GraphDraft& draft);

// An id that no node of `draft` has: `stem`, or `stem` with a number.
std::string freshId(const GraphDraft& draft, const std::string& stem);

} // namespace breeder
