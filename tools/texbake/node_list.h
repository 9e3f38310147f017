#pragma once

#include <ostream>

namespace texbake {

// What `texbake --list` prints: every node type with its constructor
// arguments, inputs, colour stops and parameters (kind, range, default),
// read from the library's own metadata.
void printNodeList(std::ostream& out);

} // namespace texbake
