#include "texture/graph/graph.h"

namespace tex {

namespace {

// A real number as JSON text: the shortest that reads back as the same
// double, whole numbers with ".0" ("2.0", "0.35", "1e-07").
std::string realText(double value)
{
    return nlohmann::json(value).dump();
}

std::string integerText(double value)
{
    return std::to_string(static_cast<long long>(value));
}

std::string idList(const Graph& graph, const GraphNode& node, NodeKind kind)
{
    std::string list;
    for (const std::size_t input : node.inputs)
        if (graph.nodes()[input].type->kind == kind)
            list += (list.empty() ? "" : ", ") + quotedText(graph.nodes()[input].id);
    return "[" + list + "]";
}

std::string nodeText(const Graph& graph, const GraphNode& node)
{
    const NodeType& type = *node.type;
    std::string text = "{\"id\": " + quotedText(node.id) + ", \"type\": " + quotedText(type.name);
    for (std::size_t i = 0; i < type.arguments.size(); ++i) {
        const ArgumentInfo& argument = type.arguments[i];
        text += ", " + quotedText(argument.name) + ": "
            + (argument.kind == ArgumentInfo::Kind::Real ? realText(node.arguments[i])
                                                         : integerText(node.arguments[i]));
    }
    if (type.inputCount(NodeKind::Field) > 0)
        text += ", \"inputs\": " + idList(graph, node, NodeKind::Field);
    if (type.inputCount(NodeKind::Colour) > 0)
        text += ", \"colourInputs\": " + idList(graph, node, NodeKind::Colour);
    if (!node.parameters.empty()) {
        std::string parameters;
        for (const ParameterSetting& setting : node.parameters) {
            const bool integer = setting.info->kind == ParameterInfo::integerKind;
            parameters += (parameters.empty() ? "" : ", ") + quotedText(setting.info->name) + ": "
                + (integer ? std::to_string(setting.value.intValue) : realText(setting.value.realValue));
        }
        text += ", \"parameters\": {" + parameters + "}";
    }
    if (type.stops) {
        text += ", \"stops\": [";
        for (std::size_t row = 0; row < node.stops.size() / 5; ++row) {
            text += row > 0 ? ",\n      [" : "\n      [";
            for (std::size_t k = 0; k < 5; ++k)
                text += (k > 0 ? ", " : "") + realText(node.stops[5 * row + k]);
            text += "]";
        }
        text += "\n    ]";
    }
    return text + "}";
}

} // namespace

std::string writeGraph(const Graph& graph)
{
    std::string text = std::string("{\n  \"format\": \"") + graphFormat + "\",\n  \"version\": "
        + std::to_string(graphVersion) + ",\n  \"nodes\": [\n";
    for (std::size_t n = 0; n < graph.nodes().size(); ++n)
        text += "    " + nodeText(graph, graph.nodes()[n]) + (n + 1 < graph.nodes().size() ? ",\n" : "\n");
    return text + "  ],\n  \"output\": " + quotedText(graph.output().id) + "\n}\n";
}

} // namespace tex
