#pragma once

#include "tools/texbake/node.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace texbake {

// An argument of a class's constructor. Unlike parameters, these fix a
// function for its lifetime (seeds, lattice sizes, densities), so a graph
// file gives them beside the node's "type", not among its "parameters".
struct ConstructorArgument {
    enum class Kind { Integer, PowerOfTwo, Real };

    const char* name;
    Kind kind;
    double min;
    double max;
    // Absent: the graph file must give the argument.
    std::optional<double> defaultValue;
};

// A class a graph node can be: its name, how to build one from its
// constructor arguments (values in the order of `arguments`, integers held
// exactly as doubles), and nothing else. Parameters, their kinds, ranges and
// defaults, and the number of inputs come from the built object itself.
struct NodeType {
    const char* name;
    std::vector<ConstructorArgument> arguments;
    std::function<Node(const std::vector<double>& arguments)> make;

    // A node built with every argument at its default, required ones at
    // their lowest value: what --list reads the metadata from.
    Node sample() const;
};

// Every class of the texture library that a graph can use, scalar fields
// first, in the order of the library's documentation.
const std::vector<NodeType>& nodeTypes();
// The type named `name` exactly, or null.
const NodeType* findNodeType(const std::string& name);

} // namespace texbake
