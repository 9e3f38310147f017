#pragma once

#include "tools/texbake/options.h"

#include <ostream>

namespace texbake {

// What `texbake --list` prints: every node type of the library's catalogue
// with its description, constructor arguments, inputs, colour stops and
// parameters (kind, range, default, description); as text, or as the
// Markdown tables of docs/texbake.md.
void printNodeList(std::ostream& out, ListFormat format);

} // namespace texbake
