#pragma once

#include "texture/texture_graph.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace breeder {

// A graph of the breeder: a graph file's text, as the library writes it, and
// the graph read from it. The graph is shared, never changed, so that bakes
// on other threads may hold it while the breeder moves on.
struct BredGraph {
    std::string text;
    std::shared_ptr<const tex::Graph> graph;
};

// The graph of a graph file's text, written back by the library
// (tex::writeGraph), so that equal graphs have equal texts. None, with
// `error` set, when tex::readGraph refuses the text under `limits`.
std::optional<BredGraph> readBredGraph(std::string_view text, tex::GraphError& error,
                                       const tex::GraphLimits& limits = {});

} // namespace breeder
