#pragma once

#include "texture/scalar/node_type.h"

#include <string_view>
#include <vector>

namespace tex {

// Every texture function class of the library as a node type (see
// NodeType): scalar fields first, then colour functions, in the order of the
// library's documentation. What graph files, texbake --list and the README
// read.
const std::vector<const NodeType*>& nodeTypes();

// The type named `name` exactly, or null.
const NodeType* findNodeType(std::string_view name);

} // namespace tex
