#pragma once

#include "tools/texbake/node.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace texbake {

// What is wrong with a graph file, as one line: the file, the place (a JSON
// pointer such as /nodes/2/parameters/xscale, or a line and column for
// malformed JSON) and the fault.
class GraphError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A texture graph read from a graph file: it owns every node, and its output
// is a node whose graph is completely wired.
class Graph {
public:
    Graph(std::vector<std::unique_ptr<Node>> nodes, const Node& output);

    const Node& output() const { return *out; }

private:
    std::vector<std::unique_ptr<Node>> nodes;
    const Node* out;
};

// Reads a graph file's text and checks it whole (see README, "Graph
// files"). `source` names the file in messages. Throws GraphError.
Graph readGraph(const std::string& text, const std::string& source);

} // namespace texbake
