#include "breeder/bred_graph.h"

#include <utility>

namespace breeder {

std::optional<BredGraph> readBredGraph(std::string_view text, tex::GraphError& error, const tex::GraphLimits& limits)
{
    std::optional<tex::Graph> graph = tex::readGraph(text, error, limits);
    if (!graph)
        return std::nullopt;
    std::string written = tex::writeGraph(*graph);
    return BredGraph{std::move(written), std::make_shared<const tex::Graph>(std::move(*graph))};
}

} // namespace breeder
